#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QUtf8StringView>

// The text forms in which the program writes and compares dates and times.

// "yyyy-mm-dd" of a chosen date.
QString reminderDateText(const QDate &date);
// The first second of the minute of `now`, "yyyy-mm-dd hh:MM:00".
QString dueText(const QDateTime &now);

// The one form in which 时间 is stored, so that equality holds to the second.
QString canonicalDateTimeText(const QDateTime &value);
// Reads a stored or bound date-time text: "yyyy-m-d h:m[:s]" or a date alone (midnight), with one or two
// digits per field, and the other spellings of SQLite's datetime() without a time zone: blanks or "T"
// between date and time, a fraction of a second (dropped), a final "Z". Returns an invalid QDateTime when the text does
// not name a real date and time.
QDateTime parseDateTimeText(const QString &text);
// Reads a stored date text, "yyyy-m-d", or the date of a text that parseDateTimeText reads. Returns an
// invalid QDate when the text names no date.
QDate parseDateText(const QString &text);
// parseDateTimeText for a text as the database hands it out: the stored form is read without making a
// QString of it.
QDateTime parseDateTimeUtf8(QUtf8StringView text);

// A date and time as the user's regional settings write it: the short date, then, unless the time is
// exactly midnight, one space and the long time (without a time-zone name).
QString regionalDateTimeText(const QDateTime &value);
