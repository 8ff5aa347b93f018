#pragma once

#include "calendar/ical.h"
#include "store/reminder.h"
#include "store/repetition.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <map>
#include <optional>

// A reminder that an event makes, with the key under which it counts as imported: the event's UID and
// the start of its occurrence as the file writes it, or kSeries for a series kept as its rule.
struct EventReminder
{
    Reminder reminder;
    QString uid;
    QString start;
    // The rule of a series that repeats on the desk's clock: the reminder is its next occurrence from now.
    std::optional<Repetition> repetition;

    static inline const QString kSeries = QStringLiteral("RRULE");
};

// What an event of a calendar file makes.
struct EventReminders
{
    QList<EventReminder> reminders;
    QString subject;
    QString problem;          // why the event cannot be used; no reminders then
    bool unknownZone = false; // the problem is a time zone that no VTIMEZONE read so far defines
    bool recurring = false;   // it had an RRULE or RDATE: kept as its rule, else expanded over the next 366 days
    bool ended = false;       // a series kept as its rule that has no occurrence from now on
    bool capped = false;      // the rule makes more reminders than one event may make
    QDateTime cutAt;          // where the expansion stopped at its limit of steps; invalid when it did not
    int rounded = 0;          // reminders that fell on a second other than :00, moved to their minute's start
};

// Turns the events of a calendar file into reminders in local time: the reminder's time is the event's
// start moved by its first alarm's trigger; an all-day event without an alarm reminds at 09:00 of its day.
// Times with a TZID are converted from that zone (the file's own VTIMEZONE, else the system's zone of that
// name), UTC times from UTC; floating times are taken as they are. An RRULE is kept as the reminder's rule
// (one reminder at its next occurrence from `now`, the EXDATEs and the occurrences that overrides replace as
// its exceptions) where the desk's clock can follow it: no RDATE, a zone whose clock changes when the local
// one does, and a reminder that falls on the day (and hour) the rule names. Other rules are expanded over the
// 366 days from `now` on in the event's own zone, less those occurrences, with its RDATEs. Reminders fall on
// minutes: a moment with seconds is rounded down to its minute, never late.
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
    // The reminder's time of an occurrence written at `written`; invalid, with `made`'s problem, outside the
    // years 1 to 9999. Counts a rounding in `made`.
    QDateTime reminderTime(const QDateTime &written, bool allDay, const Zone &zone, qint64 offset,
                           EventReminders &made) const;
    // Whether the event's RRULE can be kept as the rule of a reminder whose first occurrence is `first`.
    bool keepsRule(icalcomponent *event, const icaltimetype &startValue, const Zone &zone,
                   const QDateTime &first) const;
    // Whether `zone`'s clock stays the same distance from the local one over the coming year.
    bool followsLocalClock(const Zone &zone) const;
    // The event's series as a reminder's rule starting at `first`: UNTIL, EXDATEs and the occurrences that
    // overrides replace moved as far as the first occurrence is; none, with `made`'s problem, when it fails.
    std::optional<Repetition> seriesOf(icalcomponent *event, const icaltimetype &startValue, const Zone &zone,
                                       const QDateTime &first, EventReminders &made) const;
    QList<Occurrence> ruleOccurrences(icalproperty *rule, const icaltimetype &startValue, const Zone &zone,
                                      EventReminders &made) const;
    // An occurrence's start as the key under which EXDATEs and overrides name it: the local wall-clock, or
    // the day for dates. Invalid when it names no moment.
    QDateTime occurrenceKey(icalproperty *property, const icaltimetype &value, bool allDay) const;

    QDateTime m_now; // wall-clock
    std::map<QByteArray, IcalTimeZone> m_zones;
    QHash<QString, QList<QDateTime>> m_replaced; // by UID, the occurrenceKey()s of overrides
    mutable QHash<QString, bool> m_followsLocal; // followsLocalClock() by zone
};
