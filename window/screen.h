#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// What the windows ask about the screen and the pointer; tests hand in a screen of their own. Every read of
// the pointer position and of screen geometry in the program goes through this.
class Screen
{
public:
    virtual ~Screen() = default;
    // The primary screen, bars included, in virtual-desktop coordinates: its own left, top, right and
    // bottom edges (with another screen to its left, its left is not 0).
    virtual QRect geometry() const = 0;
    // The primary screen less the taskbar and other docked bars.
    virtual QRect workArea() const = 0;
    // The pointer's position in virtual-desktop coordinates.
    virtual QPoint cursorPos() const = 0;
};

// The desktop's primary screen and the real pointer.
class PrimaryScreen : public Screen
{
public:
    QRect geometry() const override;
    QRect workArea() const override;
    QPoint cursorPos() const override;
};

// Where a window of `size` stands centred on `screen`: each offset halved toward zero, never above or left
// of the screen.
QPoint centredOn(const QRect &screen, const QSize &size);
