#include "window/hotarea.h"

#include <QMouseEvent>

HotArea::HotArea(QWidget *parent, const QRect &geometry)
    : QWidget(parent)
{
    setGeometry(geometry);
    setCursor(Qt::PointingHandCursor);
    setMouseTracking(true);
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
