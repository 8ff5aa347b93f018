#pragma once

#include <QWidget>

// An invisible clickable rectangle with the hand-point cursor, lying over a button painted on a window's
// background picture. A press on it is its own: it never drags the window.
class HotArea : public QWidget
{
    Q_OBJECT

public:
    explicit HotArea(QWidget *parent = nullptr, const QRect &geometry = {});

signals:
    // A left-button press and release, both inside the area.
    void clicked();
    // Every pointer movement over the area, with or without a button held.
    void pointerMoved();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    bool m_pressed = false;
};
