#pragma once

#include <QTimer>
#include <QWidget>

class Clock;

// The hands of the main window's dial: hour, minute and second, painted live over the dial picture (which
// has none of its own) and moved once a second. It lies over the dial's opaque area, so the window's shape
// does not change, and lets the pointer through to the picture and the areas beneath it.
class ClockHands : public QWidget
{
    Q_OBJECT

public:
    // `centre` is the dial's centre on `parent`.
    ClockHands(const Clock &clock, QPoint centre, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void tick();

    const Clock &m_clock;
    QTimer m_timer;
};
