#pragma once

#include <QString>

// The text with its leading and trailing characters of code 32 or below removed; the full-width
// blank and every other character above code 32 are kept (unlike QString::trimmed).
QString trimmed(const QString &text);

// The text as Qt's widgets should show it: the program separates lines with carriage returns, which
// Qt's text layout does not break at.
QString withLineFeeds(QString text);

// The text as a terminal may print it: each control character (C0 but the line feed, DEL, C1) is written out
// as "\xNN", so that text from elsewhere cannot move the cursor, set the title or clear the screen.
QString withVisibleControls(const QString &text);
