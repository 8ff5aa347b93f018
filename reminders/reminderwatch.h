#pragma once

#include "store/reminder.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QPair>
#include <QSet>

class Clock;
class ReminderStore;

// Looks in the store for reminders that fall due. Each look covers the minutes since the last one (since the
// watch was made at the first: never a minute before the program started), so minutes that passed without a
// look are caught up: a suspended machine, a stopped process, a clock that jumps forward, the hour that
// daylight saving skips. Each reminder falls due once: a clock set back, or the hour that daylight saving
// repeats, does not raise it again. Minutes are wall-clock minutes, as the store writes them.
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
    using Raised = QPair<qint64, QDateTime>; // a reminder's id and its time

    ReminderStore &m_store;
    const Clock &m_clock;
    QDateTime m_lastMinute;
    QSet<Raised> m_raised;
};
