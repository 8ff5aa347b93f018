#pragma once

#include "store/reminder.h"
#include "store/repetition.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>

// One event of a CalDAV calendar as a reminder, and a reminder as such an event.
struct CalendarObject
{
    QString uid; // empty when the event names none
    // The reminder the event makes, as the import makes it (at its first alarm's moment, else at its start;
    // 09:00 of the day for an all-day event); for a series, its next occurrence from now. None for an event
    // that makes no reminder: a series that has ended, or one whose rule the import would expand into single
    // occurrences (RDATEs, a zone that changes its clock on other days than the local one), among them.
    std::optional<Reminder> reminder;
    // The series' rule, as the import keeps it: its first reminder, its exceptions (EXDATEs and the
    // occurrences that overrides move or cancel); none for an event that does not repeat.
    std::optional<Repetition> repetition;
    QString problem; // why it makes none
};

// Reads the calendar object (one VCALENDAR with an event, its overrides and time zones) that a server holds.
CalendarObject readCalendarObject(const QByteArray &ics, const QDateTime &now);

// A digest of what a reminder's event says, to tell whether two of them differ: subject, content (line breaks
// as line feeds, as servers give them back) and time; for a repeating reminder (`repetition` not null) its
// rule, first occurrence and exceptions instead of the time, which moves on as occurrences pass.
QString reminderFingerprint(const Reminder &reminder, const Repetition *repetition);

// The calendar object of a reminder: one VEVENT as export writes it, under `uid`. A repeating reminder's
// event starts at its series' first occurrence, not at the row's next one, so that it stays the same event
// while occurrences pass.
QByteArray calendarObjectOf(const Reminder &reminder, const Repetition *repetition, const QString &uid,
                            const QDateTime &stamp);

// The calendar object `ics` (as readCalendarObject reads it at `now`) changed to make `reminder` with
// `repetition`: its subject and content, its start (and end) moved as far as the reminder's time moved (a
// series' first occurrence), so that the alarm keeps its offset, and a series' rule and exceptions where they
// changed; all else as it was, so that what other programs keep in their events survives. Empty when the
// event cannot be changed so (an all-day event moved by less than days, no reminder before, or a reminder that
// starts or stops repeating).
QByteArray changedCalendarObject(const QByteArray &ics, const Reminder &reminder, const Repetition *repetition,
                                 const QDateTime &now);
