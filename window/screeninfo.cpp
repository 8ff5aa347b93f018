#include "window/screeninfo.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

QRect QtScreenInfo::workArea() const
{
    return QGuiApplication::primaryScreen()->availableGeometry();
}

int QtScreenInfo::screenWidth() const
{
    return QGuiApplication::primaryScreen()->geometry().width();
}

QPoint QtScreenInfo::cursorPos() const
{
    return QCursor::pos();
}
