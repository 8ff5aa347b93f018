#include "reminders/raisedreminders.h"

namespace {

// Longer than any hour daylight saving repeats.
constexpr qint64 kRememberedMs = 2LL * 24 * 3600 * 1000;

} // namespace

QList<Reminder> RaisedReminders::raiseNew(const QList<Reminder> &found, qint64 sinceBoot, bool ahead)
{
    m_raised.removeIf([sinceBoot](const auto &entry) { return sinceBoot - entry.value().sinceBoot > kRememberedMs; });
    QList<Reminder> raised;
    for (const Reminder &reminder : found) {
        const Key key{reminder.rowid, reminder.due};
        if (!m_raised.contains(key)) {
            m_raised.insert(key, {sinceBoot, ahead});
            raised << reminder;
        }
    }
    return raised;
}

void RaisedReminders::forgetRaisedAheadAfter(const QDateTime &minute)
{
    m_raised.removeIf([&minute](const auto &entry) { return entry.value().ahead && entry.key().second > minute; });
}
