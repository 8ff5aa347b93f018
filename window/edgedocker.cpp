#include "window/edgedocker.h"

#include "window/screen.h"
#include "window/shapedpicture.h"
#include "window/windowdrag.h"

#include <QEvent>
#include <QTimer>

namespace {

// Kept as the program has always had it: how soon a docked window wakes to the pointer is part of its feel.
constexpr int kWakeUpInterval = 558;

// The right edge as the docking reasons about it: the first column outside the rectangle.
int rightOf(const QRect &rect)
{
    return rect.x() + rect.width();
}

} // namespace

EdgeDocker::EdgeDocker(QWidget *window, const Screen &screen)
    : QObject(window)
    , m_screen(screen)
    , m_window(window)
    , m_wakeUp(new QTimer(this))
    , m_dockRect(window->frameGeometry())
    , m_pointerInside(window->underMouse())
{
    m_window->installEventFilter(this);
    m_wakeUp->setInterval(kWakeUpInterval);
    connect(m_wakeUp, &QTimer::timeout, this, &EdgeDocker::checkPointer);
    m_wakeUp->start();
}

void EdgeDocker::setVisibleStrip(int pixels)
{
    Q_ASSERT(pixels >= 1 && pixels <= 50);
    m_visibleStrip = pixels;
}

void EdgeDocker::setSnapDistance(int pixels)
{
    Q_ASSERT(pixels >= 5 && pixels <= 50);
    m_snapDistance = pixels;
}

bool EdgeDocker::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_window)
        return false;
    if (event->type() == MovingEvent::eventType()) {
        auto *moving = static_cast<MovingEvent *>(event);
        QRect proposed = moving->rect();
        snap(proposed);
        moving->setRect(proposed);
    } else if (event->type() == QEvent::Enter) {
        pointerEntered();
    } else if (event->type() == QEvent::Leave) {
        pointerLeft();
    } else if (event->type() == QEvent::Move && m_stripShown && m_window->pos() != m_stripAt) {
        showWhole(); // moved elsewhere, as a slid-out window would come back on screen
    }
    return false;
}

// Entering any control of the window from outside enters the window first, and leaving the window from
// a control leaves the window too, so the window's own Enter and Leave mark every crossing of its outline
// (a cut-away part of the shape is outside). Moves between its controls change nothing here.
void EdgeDocker::pointerEntered()
{
    if (m_pointerInside)
        return;
    m_pointerInside = true;
    if (m_slidOut)
        slideIn();
}

void EdgeDocker::pointerLeft()
{
    if (!m_pointerInside)
        return;
    m_pointerInside = false;
    if (m_edge != Edge::None)
        slideOut();
}

// Each tick catches a pointer that left the docked window without the window hearing of it, and a pointer
// that left dockRect after leaving the window through a cut-away part. An undocked window has nothing to hide,
// and the pointer is not asked for.
void EdgeDocker::checkPointer()
{
    if (m_edge == Edge::None)
        return;
    if (m_pointerInside) {
        if (!windowShowsAt(m_screen.cursorPos()))
            pointerLeft();
        return;
    }
    if (!m_slidOut)
        slideOut();
}

bool EdgeDocker::windowShowsAt(const QPoint &globalPos) const
{
    if (!m_window->isVisible())
        return false;
    const QPoint local = m_window->mapFromGlobal(globalPos);
    const QRegion mask = m_window->mask();
    return m_window->rect().contains(local) && (mask.isEmpty() || mask.contains(local));
}

void EdgeDocker::snap(QRect &r)
{
    const QRect screen = m_screen.geometry();
    const int top = screen.top();
    const int left = screen.left();
    const int right = rightOf(screen);
    const QRect &d = m_dockRect;
    if (r.top() - top < m_snapDistance && r.top() <= d.top())
        r.moveTop(top);
    else if (r.left() - left < m_snapDistance && r.left() <= d.left())
        r.moveLeft(left);
    else if (right - rightOf(r) < m_snapDistance && r.left() >= d.left())
        r.moveLeft(right - r.width());

    if (r.top() == top)
        m_edge = Edge::Top;
    else if (r.left() == left)
        m_edge = Edge::Left;
    else if (rightOf(r) == right)
        m_edge = Edge::Right;
    else
        m_edge = Edge::None;
    m_dockRect = r;
    if (m_edge != Edge::None)
        emit docked(m_edge);
}

void EdgeDocker::slideOut()
{
    if (m_dockRect.contains(m_screen.cursorPos()))
        return;
    m_slidOut = true;
    if (m_edge == Edge::None || m_stripShown)
        return;
    const QPoint docked = placeAtEdge(false);
    const QPoint slidOut = placeAtEdge(true);
    m_window->move(docked);
    showStrip(slidOut - docked);
}

void EdgeDocker::slideIn()
{
    m_slidOut = false;
    showWhole();
    if (m_edge != Edge::None)
        m_window->move(placeAtEdge(false));
}

// Where the window stands at its edge, whole or slid out, keeping its place along the edge.
QPoint EdgeDocker::placeAtEdge(bool slidOut) const
{
    const QRect screen = m_screen.geometry();
    const QRect frame = m_window->frameGeometry();
    switch (m_edge) {
    case Edge::Top:
        return {frame.x(), slidOut ? screen.top() + m_visibleStrip - frame.height() : screen.top()};
    case Edge::Left:
        return {slidOut ? screen.left() + m_visibleStrip - frame.width() : screen.left(), frame.y()};
    case Edge::Right:
        return {rightOf(screen) - (slidOut ? m_visibleStrip : frame.width()), frame.y()};
    case Edge::None:
        break;
    }
    return frame.topLeft();
}

void EdgeDocker::showStrip(const QPoint &slide)
{
    m_wholeShape = m_window->mask();
    const QRect all = m_window->rect();
    const QRegion shape = m_wholeShape.isEmpty() ? QRegion(all) : m_wholeShape;
    m_window->scroll(slide.x(), slide.y());
    setWindowShape(m_window, shape.translated(slide) & all);
    m_slide = slide;
    m_stripAt = m_window->pos();
    m_stripShown = true;
}

void EdgeDocker::showWhole()
{
    if (!m_stripShown)
        return;
    m_stripShown = false;
    m_window->scroll(-m_slide.x(), -m_slide.y());
    m_window->setMask(m_wholeShape);
}
