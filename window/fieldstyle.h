#pragma once

class QLineEdit;
class QPlainTextEdit;
class QString;

// Read-only, flat and on the system's tooltip colour: how the program shows reminder fields that the
// user reads but does not edit.
void setReadOnlyLook(QLineEdit *field);
void setReadOnlyLook(QPlainTextEdit *field);

// Shows a stored content in a multi-line field, line breaks as the field writes them, however long it is.
void setContentText(QPlainTextEdit *field, const QString &content);
