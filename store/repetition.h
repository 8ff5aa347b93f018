#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

// How a reminder comes back: a rule and the series' first occurrence, in wall-clock time (WallClock), so that
// a reminder at 09:00 stays at 09:00 on the desk's clock across daylight saving.
//
// The rule is one of the program's own kinds, "daily", "weekdays" (Monday to Friday), "weekly", "monthly",
// "yearly", or any RFC 5545 recurrence rule ("FREQ=…", with COUNT or UNTIL). The program's own monthly and
// yearly kinds keep a reminder in every month and every year: a series on the 31st falls on the last day of a
// shorter month, and one on February 29 on February 28 outside leap years, each time going back to its own
// day where the month has it. RFC 5545 skips such months instead, which for a bill on the 31st means no
// reminder for five months of the year; a user who asks for "every month" means every month. An imported
// calendar rule keeps RFC 5545's meaning, as the calendar that wrote it shows it.
struct Repetition
{
    QString rule;
    QDateTime start;             // the first occurrence (DTSTART)
    QList<QDateTime> exceptions; // occurrences that do not happen (EXDATE)

    // The rule for what a user writes: a kind's name or an RFC 5545 rule, with or without "RRULE:". Throws
    // AppError naming the text when it is neither.
    static QString ruleOf(const QString &written);

    // Whether the rule is one of the program's own kinds, which never end.
    bool isOwnKind() const;
    // The first occurrence after the wall-clock moment `after`; invalid when the series has ended by then.
    QDateTime nextAfter(const QDateTime &after) const;
    // The rule as an RFC 5545 RRULE value, for calendar programs.
    QString calendarRule() const;
    // The repeat as the windows and listings show it: 每天, 工作日, 每周一, 每月31日, 每年2月29日, 按规则重复.
    QString label() const;
};
