#include "window/shiftstate.h"

ShiftState shiftState(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons)
{
    ShiftState state;
    state.setFlag(ssShift, modifiers.testFlag(Qt::ShiftModifier));
    state.setFlag(ssAlt, modifiers.testFlag(Qt::AltModifier));
    state.setFlag(ssCtrl, modifiers.testFlag(Qt::ControlModifier));
    state.setFlag(ssLeft, buttons.testFlag(Qt::LeftButton));
    state.setFlag(ssRight, buttons.testFlag(Qt::RightButton));
    state.setFlag(ssMiddle, buttons.testFlag(Qt::MiddleButton));
    return state;
}
