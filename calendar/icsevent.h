#pragma once

#include "calendar/ical.h"
#include "store/reminder.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <map>

// A reminder that an event makes, with the key under which it counts as imported: the event's UID and
// the start of its occurrence as the file writes it.
struct EventReminder
{
    Reminder reminder;
    QString uid;
    QString start;
};

// What an event of a calendar file makes.
struct EventReminders
{
    QList<EventReminder> reminders;
    QString subject;
    QString problem;          // why the event cannot be used; no reminders then
    bool unknownZone = false; // the problem is a time zone that no VTIMEZONE read so far defines
    bool recurring = false;   // it had an RRULE or RDATE, expanded over the next 366 days
    bool capped = false;      // the rule makes more reminders than one event may make
    QDateTime cutAt;          // where the expansion stopped at its limit of steps; invalid when it did not
    int rounded = 0;          // reminders that fell on a second other than :00, moved to their minute's start
};

// Turns the events of a calendar file into reminders in local time: the reminder's time is the event's
// start moved by its first alarm's trigger; an all-day event without an alarm reminds at 09:00 of its day.
// Times with a TZID are converted from that zone (the file's own VTIMEZONE, else the system's zone of that
// name), UTC times from UTC; floating times are taken as they are. An RRULE is expanded over the 366 days
// from `now` on in the event's own zone, less its EXDATEs and the occurrences that overrides replace, with its
// RDATEs. Reminders fall on minutes: a moment with seconds is rounded down to its minute, never late.
class EventConverter
{
public:
    explicit EventConverter(const QDateTime &now);
    EventConverter(const EventConverter &) = delete;
    EventConverter &operator=(const EventConverter &) = delete;

    // Keeps a VTIMEZONE of the file for the events converted after it.
    void addTimeZone(IcalComponent timeZone);
    // Keeps the occurrence that an override (an event with a RECURRENCE-ID) moves or cancels, so that the
    // recurring event it belongs to, converted after it, leaves that occurrence out.
    void addOverride(icalcomponent *event);
    EventReminders convert(icalcomponent *event) const;

    // Whether the event repeats (RRULE or RDATE), or overrides one occurrence of an event that does.
    static bool isRecurring(icalcomponent *event);
    static bool isOverride(icalcomponent *event);

    // The most reminders that one recurring event makes.
    static constexpr int kMostOccurrences = 10000;
    // Rule steps looked at for one event, so that a rule of every second from long ago cannot hold the import.
    static constexpr int kMostSteps = 2'000'000;

private:
    class Zone;
    // The start of one occurrence as written in the event's zone, and the key it is imported under.
    struct Occurrence
    {
        QDateTime written;
        QString key;
    };

    // The zone `value`, the value of `property`, is written in: UTC, its TZID's zone, or floating.
    Zone zoneOf(icalproperty *property, const icaltimetype &value) const;
    // The reminder's offset in seconds from each occurrence's start: the first alarm's trigger, else none
    // (09:00 of the day for an all-day event).
    qint64 alarmOffset(icalcomponent *event, const icaltimetype &startValue, const Zone &zone) const;
    // The occurrences from now on: the start alone, or the RRULE's and RDATE's within the window less those
    // left out. Sets `made`'s recurring, capped, cutAt and problem.
    QList<Occurrence> occurrences(icalcomponent *event, const icaltimetype &startValue, const Zone &zone,
                                  EventReminders &made) const;
    QList<Occurrence> ruleOccurrences(icalproperty *rule, const icaltimetype &startValue, const Zone &zone,
                                      EventReminders &made) const;
    // An occurrence's start as the key under which EXDATEs and overrides name it: the local wall-clock, or
    // the day for dates. Invalid when it names no moment.
    QDateTime occurrenceKey(icalproperty *property, const icaltimetype &value, bool allDay) const;

    QDateTime m_now; // wall-clock
    std::map<QByteArray, IcalTimeZone> m_zones;
    QHash<QString, QList<QDateTime>> m_replaced; // by UID, the occurrenceKey()s of overrides
};
