#pragma once

class QKeyEvent;

// Enter presses the button that has the focus, in windows that have no default button: true when it did.
bool pressFocusedButton(QKeyEvent *event);
