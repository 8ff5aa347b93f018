#pragma once

#include "store/reminder.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QPair>

// What the watch has raised: each row once for its time, whatever its id holds (another program's file may
// have none, or the same one twice), remembered for two days of time that really passed.
class RaisedReminders
{
public:
    // The reminders of `found` that were not raised before, now remembered as raised at `sinceBoot` (the
    // clock's time since boot), `ahead` when the wall clock is set ahead of its time.
    QList<Reminder> raiseNew(const QList<Reminder> &found, qint64 sinceBoot, bool ahead);
    // Forgets what was raised while the wall clock was set ahead and falls due after `minute`.
    void forgetRaisedAheadAfter(const QDateTime &minute);

private:
    using Key = QPair<qint64, QDateTime>; // the reminder's row and its time
    struct Raised
    {
        qint64 sinceBoot = 0;
        bool ahead = false;
    };

    QHash<Key, Raised> m_raised;
};
