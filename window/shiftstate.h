#pragma once

#include <QFlags>
#include <Qt>

// The flags given with mouse events: which modifier keys and mouse buttons are down.
enum ShiftFlag {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32,
};
Q_DECLARE_FLAGS(ShiftState, ShiftFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(ShiftState)

ShiftState shiftState(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons = Qt::NoButton);
