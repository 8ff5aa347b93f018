#pragma once

#include <functional>

class QWidget;

// Shakes a window: 100 moves to random offsets from -10 to +9 on each axis, the left first, then back
// to exactly where it stood. `afterMove` runs after every move (the real window pushes the move to the
// window system and paces the shake so that the eye can follow it).
void shakeWindow(QWidget &window, const std::function<void()> &afterMove);

// Hands the window system every pending request now, so that a move shows before the next one.
void flushWindowSystem();
