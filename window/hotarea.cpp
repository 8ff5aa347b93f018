#include "window/hotarea.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {

class HotAreaAccessible : public QAccessibleWidget
{
public:
    explicit HotAreaAccessible(HotArea *area)
        : QAccessibleWidget(area)
    {
    }

    // Asked each time: the interface may be made before the area is given its role.
    QAccessible::Role role() const override { return static_cast<HotArea *>(widget())->accessibleRole(); }

    QStringList actionNames() const override { return QStringList{pressAction()} + QAccessibleWidget::actionNames(); }

    // The press answers the screen reader at once: what it starts may open a box that waits for the user.
    void doAction(const QString &actionName) override
    {
        if (actionName == pressAction())
            QMetaObject::invokeMethod(static_cast<HotArea *>(widget()), &HotArea::clicked, Qt::QueuedConnection);
        else
            QAccessibleWidget::doAction(actionName);
    }
};

QAccessibleInterface *hotAreaAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String("HotArea") && object->isWidgetType())
        return new HotAreaAccessible(static_cast<HotArea *>(object));
    return nullptr;
}

} // namespace

HotArea::HotArea(QWidget *parent, const QRect &geometry)
    : QWidget(parent)
{
    static const bool accessibleFactoryInstalled = [] {
        QAccessible::installFactory(hotAreaAccessible);
        return true;
    }();
    Q_UNUSED(accessibleFactoryInstalled);
    setGeometry(geometry);
    setCursor(Qt::PointingHandCursor);
    setMouseTracking(true);
    setFocusPolicy(Qt::TabFocus); // a click leaves the focus where it was
}

void HotArea::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    m_pressed = true;
    event->accept();
}

void HotArea::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const bool click = m_pressed && rect().contains(event->position().toPoint());
    m_pressed = false;
    if (click)
        emit clicked();
}

void HotArea::mouseMoveEvent(QMouseEvent *)
{
    emit pointerMoved();
}

void HotArea::keyPressEvent(QKeyEvent *event)
{
    const bool press = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Space;
    if (!press || event->isAutoRepeat() || (event->modifiers() & ~Qt::KeypadModifier)) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    emit clicked();
}

// The mark shows once the keyboard moves the focus, not when a window comes up: the pictures stay as drawn
// for the mouse user.
void HotArea::focusInEvent(QFocusEvent *event)
{
    const Qt::FocusReason reason = event->reason();
    m_focusMarked = reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason;
    QWidget::focusInEvent(event);
}

void HotArea::focusOutEvent(QFocusEvent *event)
{
    m_focusMarked = false;
    QWidget::focusOutEvent(event);
}

// The dotted focus rectangle of the pictures' buttons, black dots on white so that it shows on any colour.
void HotArea::paintEvent(QPaintEvent *)
{
    if (!m_focusMarked || !hasFocus())
        return;
    QPainter painter(this);
    const QRect mark = rect().adjusted(1, 1, -2, -2);
    painter.setPen(QPen(Qt::white, 1));
    painter.drawRect(mark);
    painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
    painter.drawRect(mark);
}
