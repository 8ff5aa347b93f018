#pragma once

#include "reminders/raisedreminders.h"
#include "store/reminder.h"
#include "store/reminderrepeats.h"

#include <QDateTime>
#include <QList>
#include <QObject>

class Clock;
class ReminderStore;

// Looks in the store for reminders that fall due. Each look covers the minutes since the last one (since the
// watch was made at the first: never a minute before the program started), so minutes that passed without a
// look are caught up: a suspended machine, a stopped process, the hour that daylight saving skips. Each
// reminder falls due once: a clock set back, or the hour that daylight saving repeats, does not raise it
// again. Minutes are wall-clock minutes, as the store writes them.
//
// Only time that really passed is caught up (the clock's time since boot tells): a wall clock set days ahead
// raises nothing of the days it skipped, and when it comes back, the minutes that really passed since it was
// last right are looked at, and what it raised ahead of its time is forgotten, to fall due at its real time.
//
// A repeating reminder's row moves to its next occurrence after now as it falls due: a catch-up that passed
// several of its occurrences raises it once.
class ReminderWatch : public QObject
{
    Q_OBJECT

public:
    ReminderWatch(ReminderStore &store, const Clock &clock, QObject *parent = nullptr);

    // One look. Throws AppError when the store fails; the same minutes are looked at again next time.
    void check();

signals:
    // The reminders that fell due since the last look, earliest first.
    void remindersDue(const QList<Reminder> &reminders);

private:
    // A reading of the wall clock with the time since boot beside it.
    struct Reading
    {
        QDateTime wall;
        qint64 sinceBoot = 0;
    };
    QDateTime firstMinuteToLook(const Reading &now, const QDateTime &minute);
    // Moves the repeating reminders among `due` to their next occurrence after `now`, and, at the first look,
    // those that passed while the program was not running.
    void moveRepeating(const QList<Reminder> &due, const QDateTime &now);

    ReminderStore &m_store;
    const Clock &m_clock;
    QDateTime m_lastMinute;
    Reading m_last;       // the last look
    Reading m_right;      // the last look at which the wall clock had not been set ahead
    bool m_ahead = false; // the wall clock was set ahead since m_right
    RaisedReminders m_raised;
    ReminderRepeats m_repeats;
    bool m_looked = false; // a look has moved the series that passed before the program started
};
