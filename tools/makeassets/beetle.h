#pragma once
// The spotted beetle: the program's icon and the frames of its tray animation.

#include <QColor>
#include <QImage>
#include <QRectF>

class QPainter;

namespace art {

// The shell's three tones, from its highlight to its shaded rim.
struct ShellColours
{
    QColor light;
    QColor base;
    QColor dark;
};

extern const ShellColours kGreenShell;
extern const ShellColours kRedShell;
extern const ShellColours kYellowShell;

// Draws the beetle filling the square `box` (drawn on a 32-unit grid and scaled to the box).
void drawBeetle(QPainter &painter, const QRectF &box, const ShellColours &shell);

// The beetle alone on a transparent square of `size` pixels.
QImage beetleIcon(const ShellColours &shell, int size);

} // namespace art
