#include "store/snoozerecord.h"

#include "core/wallclock.h"
#include "store/connection.h"
#include "store/reminderstore.h"
#include "store/schema.h"
#include "store/statement.h"
#include "store/textformats.h"

namespace {

constexpr char kHasTableSql[] = "SELECT 1 FROM sqlite_master WHERE type='table' AND name='reminder_snoozes'";
constexpr char kSnoozeSql[] = "INSERT INTO reminder_snoozes(reminder, subject, content, due) VALUES(?,?,?,?)";
constexpr char kBetweenSql[] = "SELECT reminder, subject, content, due FROM reminder_snoozes"
                               " WHERE due >= ? AND due < ? ORDER BY due, rowid";
constexpr char kTakeSql[] = "DELETE FROM reminder_snoozes WHERE due >= ? AND due < ?";

QString dayStart(const QDate &day)
{
    return canonicalDateTimeText(WallClock::at(day));
}

} // namespace

SnoozeRecord::SnoozeRecord(ReminderStore &store)
    : m_store(store)
{
}

void SnoozeRecord::snooze(const Reminder &reminder, const QDateTime &due)
{
    m_store.transaction([&] {
        for (const QString &statement : snoozeTableStatements())
            Statement(m_store.connection(), statement.toUtf8()).run();
        Statement insert(m_store.connection(), kSnoozeSql);
        insert.bind(1, reminder.rowid);
        insert.bind(2, reminder.subject);
        insert.bind(3, reminder.content);
        insert.bind(4, canonicalDateTimeText(due));
        insert.run();
    });
}

QList<Reminder> SnoozeRecord::takeDue(const QDateTime &upTo)
{
    if (!hasTable() || m_store.isReadOnly())
        return {};
    // The empty text sorts before every time: all that is due up to `upTo`, that second included.
    const QString from = QStringLiteral("");
    const QString end = canonicalDateTimeText(upTo.addSecs(1));
    // A look first, so that the watch's ticks take no write lock while nothing is due.
    QList<Reminder> due = between(from, end);
    if (due.isEmpty())
        return due;
    m_store.transaction([&] {
        due = between(from, end);
        if (due.isEmpty())
            return;
        Statement take(m_store.connection(), kTakeSql);
        take.bind(1, from);
        take.bind(2, end);
        take.run();
    });
    return due;
}

QList<Reminder> SnoozeRecord::onDay(const QDate &day)
{
    if (!hasTable())
        return {};
    return between(dayStart(day), dayStart(day.addDays(1)));
}

bool SnoozeRecord::hasTable()
{
    m_store.open();
    return Statement(m_store.connection(), kHasTableSql).next();
}

QList<Reminder> SnoozeRecord::between(const QString &from, const QString &to)
{
    Statement select(m_store.connection(), kBetweenSql);
    select.bind(1, from);
    select.bind(2, to);
    QList<Reminder> found;
    while (select.next()) {
        Reminder reminder;
        reminder.rowid = select.integer(0);
        reminder.subject = select.text(1);
        reminder.content = select.text(2);
        reminder.due = parseDateTimeText(select.text(3));
        reminder.day = reminder.due.date();
        found << reminder;
    }
    return found;
}
