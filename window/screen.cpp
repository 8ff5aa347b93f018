#include "window/screen.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

QRect PrimaryScreen::geometry() const
{
    return QGuiApplication::primaryScreen()->geometry();
}

QRect PrimaryScreen::workArea() const
{
    return QGuiApplication::primaryScreen()->availableGeometry();
}

QPoint PrimaryScreen::cursorPos() const
{
    return QCursor::pos();
}

QPoint centredOn(const QRect &screen, const QSize &size)
{
    return screen.topLeft()
           + QPoint(std::max((screen.width() - size.width()) / 2, 0),
                    std::max((screen.height() - size.height()) / 2, 0));
}
