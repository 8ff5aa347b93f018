#pragma once

#include <QString>

// The text without its leading and trailing spaces and control characters (codes 0 to 32). Unlike
// QString::trimmed it removes every control character there, and keeps the full-width blank and the
// no-break space.
QString withoutOuterSpacesAndControls(const QString &text);

// The text as Qt's widgets should show it: the program separates lines with carriage returns, which
// Qt's text layout does not break at.
QString withLineFeeds(QString text);

// The text as a terminal may print it: each control character (C0 but the line feed, DEL, C1) is written out
// as "\xNN", so that text from elsewhere cannot move the cursor, set the title or clear the screen.
QString withVisibleControls(const QString &text);
