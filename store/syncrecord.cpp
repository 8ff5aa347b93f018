#include "store/syncrecord.h"

#include "store/connection.h"
#include "store/reminderstore.h"
#include "store/schema.h"
#include "store/statement.h"

namespace {

constexpr char kHasTablesSql[] = "SELECT count(*) FROM sqlite_master WHERE type='table'"
                                 " AND name IN ('sync_calendar','sync_events')";
constexpr char kCalendarSql[] = "SELECT url, sync_token, etags_only FROM sync_calendar LIMIT 1";
constexpr char kClearCalendarSql[] = "DELETE FROM sync_calendar";
constexpr char kSetCalendarSql[] = "INSERT INTO sync_calendar(url, sync_token, etags_only) VALUES(?, ?, ?)";
constexpr char kEventsSql[] = "SELECT uid, reminder_id, href, etag, fingerprint, ics FROM sync_events";
constexpr char kKeepSql[] = "INSERT OR REPLACE INTO sync_events(uid, reminder_id, href, etag, fingerprint, ics)"
                            " VALUES(?, ?, ?, ?, ?, ?)";
constexpr char kForgetSql[] = "DELETE FROM sync_events WHERE uid=?";
constexpr char kForgetAllSql[] = "DELETE FROM sync_events";

// The columns hold no NULL texts.
QString orEmpty(const QString &text)
{
    return text.isNull() ? QStringLiteral("") : text;
}

} // namespace

SyncRecord::SyncRecord(ReminderStore &store)
    : m_store(store)
{
}

void SyncRecord::prepare()
{
    for (const QString &statement : syncTableStatements())
        Statement(m_store.connection(), statement.toUtf8()).run();
}

bool SyncRecord::hasTables()
{
    m_store.open();
    Statement count(m_store.connection(), kHasTablesSql);
    return count.next() && count.integer(0) == 2;
}

SyncedCalendar SyncRecord::calendar()
{
    if (!hasTables())
        return {};
    Statement select(m_store.connection(), kCalendarSql);
    if (!select.next())
        return {};
    return {select.text(0), select.text(1), select.integer(2) != 0};
}

void SyncRecord::setCalendar(const SyncedCalendar &calendar)
{
    Statement(m_store.connection(), kClearCalendarSql).run();
    Statement set(m_store.connection(), kSetCalendarSql);
    set.bind(1, calendar.url);
    set.bind(2, orEmpty(calendar.syncToken));
    set.bind(3, qint64(calendar.etagsOnly));
    set.run();
}

QList<SyncedEvent> SyncRecord::events()
{
    QList<SyncedEvent> events;
    if (!hasTables())
        return events;
    Statement select(m_store.connection(), kEventsSql);
    while (select.next())
        events.append({select.text(0), select.integer(1), select.text(2), select.text(3), select.text(4),
                       select.text(5).toUtf8()});
    return events;
}

void SyncRecord::keep(const SyncedEvent &event)
{
    Statement keep(m_store.connection(), kKeepSql);
    keep.bind(1, event.uid);
    keep.bind(2, event.reminderId);
    keep.bind(3, event.href);
    keep.bind(4, orEmpty(event.etag));
    keep.bind(5, orEmpty(event.fingerprint));
    keep.bind(6, orEmpty(QString::fromUtf8(event.ics)));
    keep.run();
}

void SyncRecord::forget(const QString &uid)
{
    Statement forget(m_store.connection(), kForgetSql);
    forget.bind(1, uid);
    forget.run();
}

void SyncRecord::forgetAll()
{
    Statement(m_store.connection(), kForgetAllSql).run();
}
