#include "reminders/reminderwatch.h"

#include "core/clock.h"
#include "core/wallclock.h"
#include "store/reminderstore.h"

namespace {

// A reminder raised is remembered this long: longer than any hour daylight saving repeats.
constexpr qint64 kRememberedSeconds = 2 * 24 * 3600;

} // namespace

ReminderWatch::ReminderWatch(ReminderStore &store, const Clock &clock, QObject *parent)
    : QObject(parent)
    , m_store(store)
    , m_clock(clock)
    , m_lastMinute(WallClock::minuteOf(clock.now()).addSecs(-60)) // the first look starts at the program's start
{
}

void ReminderWatch::check()
{
    const QDateTime minute = WallClock::minuteOf(m_clock.now());
    // Forward from the last look; otherwise (the same minute again, a clock set back) the current minute alone.
    const QDateTime after = m_lastMinute < minute ? m_lastMinute : minute.addSecs(-60);
    const QList<Reminder> found = m_store.dueBetween(after, minute);
    m_lastMinute = minute;

    QList<Reminder> due;
    for (const Reminder &reminder : found) {
        if (!m_raised.contains({reminder.id, reminder.due})) {
            m_raised.insert({reminder.id, reminder.due});
            due << reminder;
        }
    }
    m_raised.removeIf(
        [oldest = minute.addSecs(-kRememberedSeconds)](const Raised &raised) { return raised.second < oldest; });
    if (!due.isEmpty())
        emit remindersDue(due);
}
