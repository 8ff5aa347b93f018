#include "app/reminderwatch.h"

#include "core/clock.h"
#include "store/reminderstore.h"

ReminderWatch::ReminderWatch(ReminderStore &store, const Clock &clock, QObject *parent)
    : QObject(parent)
    , m_store(store)
    , m_clock(clock)
{
}

void ReminderWatch::check()
{
    const QList<Reminder> due = m_store.dueAt(m_clock.now());
    if (!due.isEmpty())
        emit reminderDue(due.first());
}
