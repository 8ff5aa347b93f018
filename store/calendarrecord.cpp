#include "store/calendarrecord.h"

#include "store/connection.h"
#include "store/reminderstore.h"
#include "store/schema.h"
#include "store/statement.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QUuid>

namespace {

constexpr char kHasImportsSql[] = "SELECT 1 FROM sqlite_master WHERE type='table' AND name='ics_imports'";
constexpr char kClaimSql[] = "INSERT OR IGNORE INTO ics_imports(uid, start) VALUES(?, ?)";
constexpr char kKnownSql[] = "SELECT 1 FROM ics_imports WHERE uid=? AND start=?";
constexpr char kHasSeriesSql[] = "SELECT 1 FROM sqlite_master WHERE type='table' AND name='ics_series'";
constexpr char kSeriesSql[] = "SELECT reminder, fingerprint FROM ics_series WHERE uid=?";
constexpr char kKeepSeriesSql[] = "INSERT OR REPLACE INTO ics_series(uid, reminder, fingerprint) VALUES(?, ?, ?)";
constexpr char kHasIdSql[] = "SELECT 1 FROM sqlite_master WHERE type='table' AND name='orvane_calendar'";
constexpr char kIdSql[] = "SELECT id FROM orvane_calendar LIMIT 1";
constexpr char kKeepIdSql[] = "INSERT INTO orvane_calendar(id) VALUES(?)";

} // namespace

CalendarRecord::CalendarRecord(ReminderStore &store)
    : m_store(store)
{
}

void CalendarRecord::prepare()
{
    for (const QString &statement : calendarTableStatements())
        Statement(m_store.connection(), statement.toUtf8()).run();
}

bool CalendarRecord::hasImports()
{
    m_store.open();
    return Statement(m_store.connection(), kHasImportsSql).next();
}

bool CalendarRecord::isImported(const QString &uid, const QString &start)
{
    Statement known(m_store.connection(), kKnownSql);
    known.bind(1, uid);
    known.bind(2, start);
    return known.next();
}

bool CalendarRecord::claim(const QString &uid, const QString &start)
{
    Statement claim(m_store.connection(), kClaimSql);
    claim.bind(1, uid);
    claim.bind(2, start);
    return claim.run() > 0;
}

std::optional<ImportedSeries> CalendarRecord::series(const QString &uid)
{
    m_store.open();
    if (!Statement(m_store.connection(), kHasSeriesSql).next())
        return std::nullopt;
    Statement select(m_store.connection(), kSeriesSql);
    select.bind(1, uid);
    if (!select.next())
        return std::nullopt;
    return ImportedSeries{select.integer(0), select.text(1)};
}

void CalendarRecord::keepSeries(const QString &uid, const ImportedSeries &series)
{
    Statement keep(m_store.connection(), kKeepSeriesSql);
    keep.bind(1, uid);
    keep.bind(2, series.reminder);
    keep.bind(3, series.fingerprint);
    keep.run();
}

QString CalendarRecord::calendarId()
{
    m_store.open();
    if (Statement(m_store.connection(), kHasIdSql).next()) {
        Statement id(m_store.connection(), kIdSql);
        if (id.next())
            return id.text(0);
    }
    if (m_store.isReadOnly()) {
        const QByteArray path = QFileInfo(m_store.connection().path()).absoluteFilePath().toUtf8();
        return QString::fromLatin1(QCryptographicHash::hash(path, QCryptographicHash::Sha1).toHex().left(32));
    }
    const QString id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    m_store.transaction([&] {
        prepare();
        Statement keep(m_store.connection(), kKeepIdSql);
        keep.bind(1, id);
        keep.run();
    });
    return id;
}
