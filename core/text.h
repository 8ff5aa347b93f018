#pragma once

#include <QString>

// The text with its leading and trailing characters of code 32 or below removed; the full-width
// blank and every other character above code 32 are kept (unlike QString::trimmed).
QString trimmed(const QString &text);

// The text as Qt's widgets should show it: the program separates lines with carriage returns, which
// Qt's text layout does not break at.
QString withLineFeeds(QString text);
