#pragma once

class QLineEdit;
class QPlainTextEdit;

// Read-only, flat and on the system's tooltip colour: how the program shows reminder fields that the
// user reads but does not edit.
void setReadOnlyLook(QLineEdit *field);
void setReadOnlyLook(QPlainTextEdit *field);
