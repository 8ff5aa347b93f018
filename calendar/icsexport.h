#pragma once

#include <QByteArray>

class Clock;
class QDateTime;
class QIODevice;
class QTextStream;
class ReminderStore;
struct Reminder;
struct Repetition;

// The lines that open the calendars that the program writes.
QByteArray calendarHead();
// One VEVENT of the calendar that export writes, for `reminder` under `uid`, stamped at `stamp`; with the
// rule and exceptions of `repetition` when it repeats (null when it does not).
QByteArray eventText(const Reminder &reminder, const Repetition *repetition, const QByteArray &uid,
                     const QDateTime &stamp);

// export --ics: writes every reminder, in time order, to `output` as an iCalendar calendar: one VEVENT
// each with its subject (SUMMARY), content (DESCRIPTION; carriage returns become line breaks), its time as
// DTSTART in floating local time, a UID made of its id and the file's calendar id (the same on every export of
// this file, and different from every other file's) and an alarm (ACTION:DISPLAY) at the start; a repeating
// reminder also its RRULE and EXDATEs. A row without a
// readable time is left out with a line on `error`. Written a reminder at a time. Returns the number of
// events written.
int writeCalendar(ReminderStore &store, QIODevice &output, QTextStream &error, const Clock &clock);
