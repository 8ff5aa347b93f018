#pragma once

#include <QEvent>
#include <QObject>
#include <QRect>
#include <QWidget>

// Sent to a window for each frame rectangle that a drag proposes. A receiver may change the rectangle; the
// window then goes where it says. The window's size does not change during a drag.
class MovingEvent : public QEvent
{
public:
    explicit MovingEvent(const QRect &proposed)
        : QEvent(eventType())
        , m_rect(proposed)
    {
    }
    static QEvent::Type eventType();

    QRect rect() const { return m_rect; }
    void setRect(const QRect &rect) { m_rect = rect; }

private:
    QRect m_rect;
};

// Moves a window with the pointer while the left button is held, as the window manager's move would, but
// with every proposed frame rectangle offered to the window first (a MovingEvent), until the button is
// released.
class WindowDrag : public QObject
{
    Q_OBJECT

public:
    explicit WindowDrag(QWidget *window);

    // Starts the drag with the pointer at `globalCursor`; does nothing while a drag is running.
    void start(const QPoint &globalCursor);
    bool isActive() const { return m_active; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void follow(const QPoint &globalCursor);
    void stop();

    QWidget *const m_window; // the drag's owner
    QPoint m_grip;           // the pointer's offset from the frame's top-left corner
    bool m_active = false;
};
