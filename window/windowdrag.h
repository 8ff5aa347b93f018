#pragma once

#include "window/screenrect.h"

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QWidget>

// The "moving" notification: sent to a window for each proposed frame rectangle while the user drags it.
// A receiver may move the rectangle in place; the window then goes where it says. The window's size
// does not change during a drag.
class MovingEvent : public QEvent
{
public:
    explicit MovingEvent(ScreenRect &rect)
        : QEvent(eventType())
        , m_rect(rect)
    {
    }
    static QEvent::Type eventType();
    ScreenRect &rect() const { return m_rect; }

private:
    ScreenRect &m_rect;
};

// Moves a window with the pointer while the left button is held, as the system's move loop does: the
// window's handler starts it on a left-button movement over its picture, and from then on every movement
// proposes a new frame rectangle (through a MovingEvent to the window) until the button is released.
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

    QPointer<QWidget> m_window;
    QPoint m_grip; // the pointer's offset from the frame's top-left corner
    bool m_active = false;
};
