#pragma once

#include "window/screen.h"

// A primary screen and a pointer where the test puts them. By default a 1920 x 1080 screen at the origin,
// with a bar at its right that leaves a work area 1800 wide.
class FakeScreen : public Screen
{
public:
    explicit FakeScreen(const QRect &geometry = {0, 0, 1920, 1080}, const QRect &workArea = {0, 0, 1800, 1040})
        : screenGeometry(geometry)
        , screenWorkArea(workArea)
    {
    }

    QRect geometry() const override { return screenGeometry; }
    QRect workArea() const override { return screenWorkArea; }
    QPoint cursorPos() const override { return cursor; }

    QRect screenGeometry;
    QRect screenWorkArea;
    QPoint cursor{900, 900};
};
