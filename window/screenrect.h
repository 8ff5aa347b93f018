#pragma once

#include <QPoint>
#include <QRect>

// A rectangle in screen coordinates as the docking code reasons about it: right and bottom edges
// exclusive. QRect's right() and bottom() are inclusive, so every crossing goes through fromQRect/toQRect.
struct ScreenRect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    static ScreenRect fromQRect(const QRect &rect)
    {
        return {rect.x(), rect.y(), rect.x() + rect.width(), rect.y() + rect.height()};
    }
    QRect toQRect() const { return QRect(left, top, width(), height()); }
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    // The left and top edges are inside, the right and bottom edges outside.
    bool contains(const QPoint &point) const
    {
        return point.x() >= left && point.x() < right && point.y() >= top && point.y() < bottom;
    }

    friend bool operator==(const ScreenRect &a, const ScreenRect &b)
    {
        return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
    }
    friend bool operator!=(const ScreenRect &a, const ScreenRect &b) { return !(a == b); }
};
