#pragma once

#include <QPoint>
#include <QRect>

// What the windows ask about the screen and the pointer; tests hand in a screen of their own.
class ScreenInfo
{
public:
    virtual ~ScreenInfo() = default;
    // The primary screen less the taskbar and other docked bars.
    virtual QRect workArea() const = 0;
    // The full width of the primary screen in pixels, bars included.
    virtual int screenWidth() const = 0;
    // The pointer's position in screen coordinates.
    virtual QPoint cursorPos() const = 0;
};

class QtScreenInfo : public ScreenInfo
{
public:
    QRect workArea() const override;
    int screenWidth() const override;
    QPoint cursorPos() const override;
};
