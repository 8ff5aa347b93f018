#pragma once

class Clock;
class QIODevice;
class QTextStream;
class ReminderStore;

// export --ics: writes every reminder, in time order, to `output` as an iCalendar calendar: one VEVENT
// each with its subject (SUMMARY), content (DESCRIPTION; carriage returns become line breaks), its time as
// DTSTART in floating local time, a UID made of its id and the file's calendar id (the same on every export of
// this file, and different from every other file's) and an alarm (ACTION:DISPLAY) at the start; a repeating
// reminder also its RRULE and EXDATEs. A row without a
// readable time is left out with a line on `error`. Written a reminder at a time. Returns the number of
// events written.
int writeCalendar(ReminderStore &store, QIODevice &output, QTextStream &error, const Clock &clock);
