#include "reminders/reminderwatch.h"

#include "core/clock.h"
#include "core/wallclock.h"
#include "store/reminderstore.h"

namespace {

// A wall clock that moves this much or less beside the time that really passed only follows it (a time
// service's corrections); more is a clock set by hand, or by another system on a machine it shares.
constexpr qint64 kFollowingMs = 60 * 1000;
// A clock set back looks at most this far back for the minutes that really passed.
constexpr qint64 kLongestReturnMs = 24LL * 3600 * 1000;

} // namespace

ReminderWatch::ReminderWatch(ReminderStore &store, const Clock &clock, QObject *parent)
    : QObject(parent)
    , m_store(store)
    , m_clock(clock)
    , m_lastMinute(WallClock::minuteOf(clock.now()).addSecs(-60)) // the first look starts at the program's start
    , m_last{clock.now(), clock.sinceBoot()}
    , m_right(m_last)
    , m_repeats(store)
{
}

void ReminderWatch::check()
{
    const Reading now{m_clock.now(), m_clock.sinceBoot()};
    const QDateTime minute = WallClock::minuteOf(now.wall);
    const QList<Reminder> found = m_store.dueBetween(firstMinuteToLook(now, minute), minute);
    m_lastMinute = minute;
    m_last = now;
    if (!m_ahead)
        m_right = now;

    const QList<Reminder> due = m_raised.raiseNew(found, now.sinceBoot, m_ahead);
    // Raised first: a store that fails to move a series must not cost the alert.
    if (!due.isEmpty())
        emit remindersDue(due);
    moveRepeating(due, WallClock::of(now.wall));
}

// The minute after which this look starts; the current minute is always looked at.
QDateTime ReminderWatch::firstMinuteToLook(const Reading &now, const QDateTime &minute)
{
    const qint64 passed = now.sinceBoot - m_last.sinceBoot;
    const qint64 moved = m_last.wall.msecsTo(now.wall);
    QDateTime after = m_lastMinute;
    if (moved - passed > kFollowingMs) {
        // Set ahead: the minutes that really passed since the last look, on the clock as it now reads.
        m_ahead = true;
        after = WallClock::minuteOf(now.wall.addMSecs(-passed));
    } else if (moved - passed < -kFollowingMs) {
        // Set back: the minutes that really passed since the clock was last right, and what was raised ahead
        // of its time is forgotten.
        const qint64 sinceRight = qMin(now.sinceBoot - m_right.sinceBoot, kLongestReturnMs);
        after = WallClock::minuteOf(now.wall.addMSecs(-sinceRight));
        m_raised.forgetRaisedAheadAfter(minute);
        m_ahead = false;
    }
    // The same minute again, or a clock set back: the current minute alone.
    return qMin(after, minute.addSecs(-60));
}

void ReminderWatch::moveRepeating(const QList<Reminder> &due, const QDateTime &now)
{
    // A file that may only be read shows its series where they stand.
    if (m_store.isReadOnly())
        return;
    if (!m_looked) {
        // What fell due in this look is among them.
        m_repeats.forgetOrphans();
        m_repeats.advanceOverdue(now);
        m_looked = true;
        return;
    }
    m_repeats.advance(due, now);
}
