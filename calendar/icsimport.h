#pragma once

#include "calendar/icsreader.h"
#include "store/calendarrecord.h"

#include <QDateTime>
#include <QSet>
#include <QString>

class QIODevice;
class QTextStream;
class ReminderStore;
struct EventReminder;
struct EventReminders;

// import --ics: adds the reminders of a calendar file's events to the store, all in one transaction, so a
// failed import leaves the store as it was. A series kept as its rule becomes one reminder with its rule in
// ReminderRepeats. What was imported is kept in the file's CalendarRecord, by UID and start (a series by its
// UID alone), so that nothing is imported twice; a series that changed in the file since (its subject,
// content, rule, start or exceptions) changes its reminder and rule instead, where that reminder still
// repeats. A dry run writes nothing and tells what it would do.
class IcsImport
{
public:
    IcsImport(ReminderStore &store, const QDateTime &now, bool dryRun);

    // Reads the calendar from `input`. Tells each recurring event's count and the total on `out`, and each
    // component skipped, one line each, on `error`. Throws InputError when the input is not a usable
    // iCalendar stream, AppError when the store fails.
    void run(QIODevice &input, QTextStream &out, QTextStream &error);

private:
    void readCalendar(QIODevice &input, QTextStream &out, QTextStream &error);
    // Adds the reminders of one event, or tells why it is skipped.
    void take(const IcsReader::Part &part, const EventReminders &made, QTextStream &out, QTextStream &error);
    // Whether this reminder was not imported before; records it.
    bool claim(const EventReminder &made);
    // Writes the series `made` (imported before) over its reminder and rule where the event changed since;
    // whether it did.
    bool update(const EventReminder &made);

    ReminderStore &m_store;
    CalendarRecord m_record;
    QDateTime m_now;
    bool m_dryRun = false;
    bool m_hasRecord = false; // whether the file holds the table of imported events
    QSet<QString> m_claimed;  // a dry run's claims
    int m_added = 0;
    int m_known = 0;
    int m_updated = 0;
    int m_skipped = 0;
    int m_rounded = 0;
};
