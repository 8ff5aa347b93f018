#include "window/windowdrag.h"

#include <QApplication>
#include <QMouseEvent>

QEvent::Type MovingEvent::eventType()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

WindowDrag::WindowDrag(QWidget *window)
    : QObject(window)
    , m_window(window)
{
}

void WindowDrag::start(const QPoint &globalCursor)
{
    if (m_active)
        return;
    m_active = true;
    m_grip = globalCursor - m_window->frameGeometry().topLeft();
    // Like the window manager's move, the drag takes every mouse movement until the button comes up.
    qApp->installEventFilter(this);
}

bool WindowDrag::eventFilter(QObject *watched, QEvent *event)
{
    // Each mouse event passes the window's QWindow on its way to a widget; it is taken at the widget.
    if (!watched->isWidgetType())
        return false;
    switch (event->type()) {
    case QEvent::MouseMove: {
        const auto *move = static_cast<QMouseEvent *>(event);
        if (!move->buttons().testFlag(Qt::LeftButton)) {
            stop();
            return false;
        }
        follow(move->globalPosition().toPoint());
        event->accept(); // or Qt offers it to the parent widgets as well
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
            stop();
        return false;
    default:
        return false;
    }
}

void WindowDrag::follow(const QPoint &globalCursor)
{
    MovingEvent moving(QRect(globalCursor - m_grip, m_window->frameGeometry().size()));
    QCoreApplication::sendEvent(m_window, &moving);
    m_window->move(moving.rect().topLeft());
}

void WindowDrag::stop()
{
    m_active = false;
    qApp->removeEventFilter(this);
}
