#include "window/znhideform.h"

#include "core/apperror.h"
#include "window/screeninfo.h"
#include "window/windowdrag.h"

#include <QEvent>
#include <QTimer>

namespace {

constexpr int kWakeUpInterval = 558;

// The owner itself when it is a window, else the window its nearest control sits on.
QWidget *FindOwnerForm(QObject *owner)
{
    auto *widget = qobject_cast<QWidget *>(owner);
    while (widget && !widget->isWindow())
        widget = widget->parentWidget();
    return widget;
}

} // namespace

TZnHideForm::TZnHideForm(QObject *owner, const ScreenInfo &screen)
    : QObject(owner)
    , m_screen(screen)
    , m_form(FindOwnerForm(owner))
{
    if (!m_form)
        throw AppError(QStringLiteral("未找到主窗体"));
}

TZnHideForm::~TZnHideForm()
{
    setAutoDock(false);
}

void TZnHideForm::setAutoDock(bool autoDock)
{
    if (autoDock == m_autoDock)
        return;
    if (autoDock) {
        m_dockRect = ScreenRect::fromQRect(m_form->frameGeometry());
        m_form->installEventFilter(this);
        m_pointerInside = m_form->underMouse();
        m_wakeUp = new QTimer(this);
        m_wakeUp->setInterval(kWakeUpInterval);
        connect(m_wakeUp, &QTimer::timeout, this, &TZnHideForm::checkPointer);
        m_wakeUp->start();
    } else {
        delete m_wakeUp;
        m_wakeUp = nullptr;
        if (m_form)
            m_form->removeEventFilter(this);
        m_dockPos = dpNone;
    }
    m_autoDock = autoDock;
}

// A tool window has no taskbar entry of its own (Qt makes it transient for the program on X11).
void TZnHideForm::setAlwaysTop(bool alwaysTop)
{
    if (alwaysTop == m_alwaysTop)
        return;
    Qt::WindowFlags flags = m_form->windowFlags();
    if (alwaysTop) {
        m_typeBeforeAlwaysTop = m_form->windowType();
        flags = (flags & ~Qt::WindowType_Mask) | Qt::Tool | Qt::WindowStaysOnTopHint;
    } else {
        flags = (flags & ~(Qt::WindowType_Mask | Qt::WindowStaysOnTopHint)) | m_typeBeforeAlwaysTop;
    }
    m_form->setWindowFlags(flags);
    m_form->show();
    m_alwaysTop = alwaysTop;
}

void TZnHideForm::setEdgeSpace(int edgeSpace)
{
    if (edgeSpace < 1 || edgeSpace > 50)
        throw AppError(QStringLiteral("请填写1-50以内的数字"));
    m_edgeSpace = edgeSpace;
}

void TZnHideForm::setValidSpace(int validSpace)
{
    if (validSpace < 5 || validSpace > 50)
        throw AppError(QStringLiteral("请填写5-50以内的数字"));
    m_validSpace = validSpace;
}

bool TZnHideForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_form)
        return false;
    if (event->type() == MovingEvent::eventType())
        SnapToEdge(static_cast<MovingEvent *>(event)->rect());
    else if (event->type() == QEvent::Enter)
        pointerEntered();
    else if (event->type() == QEvent::Leave)
        pointerLeft();
    return false;
}

// Entering any control of the window from outside enters the window first, and leaving the window from
// a control leaves the window too, so the window's own Enter and Leave mark every crossing of its outline
// (a cut-away part of the shape is outside). Moves between its controls change nothing here.
void TZnHideForm::pointerEntered()
{
    if (m_pointerInside)
        return;
    m_pointerInside = true;
    if (m_hidden)
        ShowForm();
}

void TZnHideForm::pointerLeft()
{
    if (!m_pointerInside)
        return;
    m_pointerInside = false;
    if (m_dockPos != dpNone)
        HideForm();
}

void TZnHideForm::checkPointer()
{
    if (m_pointerInside) {
        if (!formShowsAt(m_screen.cursorPos()))
            pointerLeft();
        return;
    }
    // The pointer may have left the window into a cut-away part inside DockRect and gone on from there.
    if (m_dockPos != dpNone && !m_hidden)
        HideForm();
}

bool TZnHideForm::formShowsAt(const QPoint &globalPos) const
{
    if (!m_form->isVisible())
        return false;
    const QPoint local = m_form->mapFromGlobal(globalPos);
    const QRegion mask = m_form->mask();
    return m_form->rect().contains(local) && (mask.isEmpty() || mask.contains(local));
}

void TZnHideForm::SnapToEdge(ScreenRect &r)
{
    const int screenWidth = m_screen.screenWidth();
    const ScreenRect &d = m_dockRect;
    if (r.top < m_validSpace && r.top <= d.top) {
        r.bottom -= r.top;
        r.top = 0;
    } else if (r.left < m_validSpace && r.left <= d.left) {
        r.right -= r.left;
        r.left = 0;
    } else if (screenWidth - r.right < m_validSpace && r.left >= d.left) {
        r.left = screenWidth - r.width();
        r.right = screenWidth;
    }

    if (r.top == 0)
        m_dockPos = dpTop;
    else if (r.left == 0)
        m_dockPos = dpLeft;
    else if (r.right == screenWidth)
        m_dockPos = dpRight;
    else
        m_dockPos = dpNone;
    m_dockRect = r;
    if (m_dockPos != dpNone && m_dockEvent)
        m_dockEvent(m_dockPos);
}

void TZnHideForm::HideForm()
{
    if (m_dockRect.contains(m_screen.cursorPos()))
        return;
    m_hidden = true;
    if (m_onHideForm) {
        m_onHideForm(m_dockPos);
        return;
    }
    const QRect frame = m_form->frameGeometry();
    switch (m_dockPos) {
    case dpTop:
        m_form->move(frame.x(), m_edgeSpace - frame.height());
        break;
    case dpLeft:
        m_form->move(m_edgeSpace - frame.width(), frame.y());
        break;
    case dpRight:
        m_form->move(m_screen.screenWidth() - m_edgeSpace, frame.y());
        break;
    case dpNone:
        break;
    }
}

void TZnHideForm::ShowForm()
{
    m_hidden = false;
    if (m_onShowForm) {
        m_onShowForm(m_dockPos);
        return;
    }
    const QRect frame = m_form->frameGeometry();
    switch (m_dockPos) {
    case dpTop:
        m_form->move(frame.x(), 0);
        break;
    case dpLeft:
        m_form->move(0, frame.y());
        break;
    case dpRight:
        m_form->move(m_screen.screenWidth() - frame.width(), frame.y());
        break;
    case dpNone:
        break;
    }
}
