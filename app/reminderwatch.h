#pragma once

#include "store/reminder.h"

#include <QObject>

class Clock;
class ReminderStore;

// Looks in the store for reminders that fall due in the current minute. The main window asks it every
// 30 seconds; it keeps no state of its own.
class ReminderWatch : public QObject
{
    Q_OBJECT

public:
    ReminderWatch(ReminderStore &store, const Clock &clock, QObject *parent = nullptr);

    // One look: reminderDue for the first reminder due in the current minute, if any. Throws AppError when
    // the store fails; the next look simply runs again.
    void check();

signals:
    void reminderDue(const Reminder &reminder);

private:
    ReminderStore &m_store;
    const Clock &m_clock;
};
