#include "store/connection.h"

#include "core/apperror.h"
#include "store/schema.h"
#include "store/statement.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

namespace {

constexpr int kBusyWaitMs = 5000; // in looks a millisecond apart

} // namespace

Connection::Connection(QString path)
    : m_path(std::move(path))
{
}

Connection::~Connection()
{
    for (sqlite3_stmt *statement : std::as_const(m_kept))
        sqlite3_finalize(statement);
    sqlite3_close(m_db);
}

sqlite3_stmt *Connection::keptStatement(const char *sql) const
{
    sqlite3_stmt *&kept = m_kept[sql];
    if (!kept && m_db && sqlite3_prepare_v3(m_db, sql, -1, SQLITE_PREPARE_PERSISTENT, &kept, nullptr) != SQLITE_OK) {
        sqlite3_finalize(kept);
        kept = nullptr;
    }
    return kept && !sqlite3_stmt_busy(kept) ? kept : nullptr;
}

void Connection::open()
{
    if (m_db)
        return;
    const QFileInfo file(m_path);
    const QString shown = file.absoluteFilePath();
    // SQLite would create a missing file, so look first; without SQLITE_OPEN_CREATE it also refuses to.
    if (!file.exists())
        throw AppError(QCoreApplication::translate("ReminderStore", "找不到数据库文件“%1”").arg(shown));

    // Asked of the system for this user, so that a read-only disk counts too; root may write anything.
    const bool readOnly = !file.isWritable() || !QFileInfo(file.absolutePath()).isWritable();
    // NOMUTEX: one thread uses the connection, so SQLite need not lock around every call.
    const int flags = (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX;
    sqlite3 *db = nullptr;
    const int status = sqlite3_open_v2(QFile::encodeName(shown).constData(), &db, flags, nullptr);
    if (status != SQLITE_OK) {
        const QString reason = QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(status));
        sqlite3_close(db);
        throw AppError(QCoreApplication::translate("ReminderStore", "无法打开数据库文件“%1”：%2 Error opening database")
                           .arg(shown, reason));
    }
    // Another program's lock is waited for five seconds, as Qt's SQLite driver always waited, looking again
    // every millisecond: SQLite's own wait sleeps ever longer, up to 100 ms, and would hold the windows long
    // after a short commit of the background sync ended.
    sqlite3_busy_handler(
        db,
        [](void *, int tries) {
            if (tries >= kBusyWaitMs)
                return 0;
            sqlite3_sleep(1);
            return 1;
        },
        nullptr);
    m_db = db;
    try {
        checkUsable();
    } catch (...) {
        sqlite3_close(m_db);
        m_db = nullptr;
        throw;
    }
    // SQLite also falls back to reading alone when it may not write after all.
    m_readOnly = readOnly || sqlite3_db_readonly(m_db, "main") == 1;
}

// A file that is not a database opens without complaint; the first statement tells.
void Connection::checkUsable()
{
    const QString shown = QFileInfo(m_path).absoluteFilePath();
    QStringList columns;
    try {
        Statement probe(*this, QStringLiteral("PRAGMA table_info(\"%1\")").arg(reminderTable()).toUtf8());
        while (probe.next())
            columns << probe.text(1);
    } catch (const AppError &) {
        throw AppError(QCoreApplication::translate("ReminderStore", "“%1”不是可用的数据库文件：%2")
                           .arg(shown, QString::fromUtf8(sqlite3_errmsg(m_db))));
    }
    if (columns.isEmpty())
        throw AppError(
            QCoreApplication::translate("ReminderStore", "数据库文件“%1”中没有表“%2”").arg(shown, reminderTable()));
    for (const QString &column : reminderColumns()) {
        if (!columns.contains(column, Qt::CaseInsensitive))
            throw AppError(QCoreApplication::translate("ReminderStore", "数据库文件“%1”的表“%2”缺少列“%3”")
                               .arg(shown, reminderTable(), column));
    }
    // Every row is read with its rowid, the one key that every row has: a table made WITHOUT ROWID has none,
    // and a column of that name would hide it.
    if (columns.contains(QStringLiteral("rowid"), Qt::CaseInsensitive) || !hasRowids())
        throw AppError(QCoreApplication::translate("ReminderStore", "数据库文件“%1”的表“%2”没有行号（rowid）")
                           .arg(shown, reminderTable()));
    // Every change reaches the disk before it counts, so a crash or a kill loses nothing committed.
    sqlite3_exec(m_db, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
}

bool Connection::hasRowids() const
{
    sqlite3_stmt *probe = nullptr;
    const QByteArray sql = QStringLiteral("SELECT rowid FROM \"%1\"").arg(reminderTable()).toUtf8();
    const bool prepared = sqlite3_prepare_v2(m_db, sql.constData(), int(sql.size()), &probe, nullptr) == SQLITE_OK;
    sqlite3_finalize(probe);
    return prepared;
}
