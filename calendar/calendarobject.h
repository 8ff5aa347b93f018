#pragma once

#include "store/reminder.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>

// One event of a CalDAV calendar as a reminder, and a reminder as such an event.
struct CalendarObject
{
    QString uid; // empty when the event names none
    // The reminder the event makes, as the import makes it (at its first alarm's moment, else at its start;
    // 09:00 of the day for an all-day event); none for a repeating event, or one that makes no reminder.
    std::optional<Reminder> reminder;
    QString problem; // why it makes none
};

// Reads the calendar object (one VCALENDAR with an event, its overrides and time zones) that a server holds.
CalendarObject readCalendarObject(const QByteArray &ics, const QDateTime &now);

// The calendar object of a reminder: one VEVENT as export writes it, under `uid`.
QByteArray calendarObjectOf(const Reminder &reminder, const QString &uid, const QDateTime &stamp);

// The calendar object `ics` (as readCalendarObject reads it at `now`) changed to make `reminder`: its subject
// and content, and its start (and end) moved as far as the reminder's time moved, so that the alarm keeps its
// offset; all else as it was, so that what other programs keep in their events survives. Empty when the event
// cannot be changed so (an all-day event moved by less than days, or no reminder before).
QByteArray changedCalendarObject(const QByteArray &ics, const Reminder &reminder, const QDateTime &now);
