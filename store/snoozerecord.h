#pragma once

#include "store/reminder.h"

#include <QDate>
#include <QDateTime>
#include <QList>

class ReminderStore;

// The reminders put off to come again later (snoozeTableStatements()), each with its subject and content as
// they were when it was put off; a reminder found here has `due` the time it comes again and `rowid` its row
// in 日程提醒 (which may have gone since). Failures throw AppError, as the store's do.
class SnoozeRecord
{
public:
    explicit SnoozeRecord(ReminderStore &store);

    // Keeps `reminder` to come again at `due` (wall-clock); makes the table where it is missing. Throws
    // AppError on a file that may only be read.
    void snooze(const Reminder &reminder, const QDateTime &due);
    // Takes out the reminders put off to `upTo` (wall-clock) or earlier, earliest first, in one transaction: each
    // is handed out once. A file that may only be read hands out none, as it could not take them out.
    QList<Reminder> takeDue(const QDateTime &upTo);
    // The reminders put off to `day`, in time order.
    QList<Reminder> onDay(const QDate &day);

private:
    bool hasTable();
    // The reminders put off to a time from `from` up to but not including `to`, stored forms.
    QList<Reminder> between(const QString &from, const QString &to);

    ReminderStore &m_store;
};
