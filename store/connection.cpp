#include "store/connection.h"

#include "core/apperror.h"
#include "store/schema.h"

#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <sqlite3.h>

namespace {

QString nextConnectionName()
{
    static int counter = 0;
    return QStringLiteral("orvane-conn-%1").arg(++counter);
}

} // namespace

Connection::Connection(QString path)
    : m_path(std::move(path))
    , m_db(QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nextConnectionName()))
{
}

Connection::~Connection()
{
    const QString name = m_db.connectionName();
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(name);
}

bool Connection::isOpen() const
{
    return m_db.isOpen();
}

bool Connection::isReadOnly() const
{
    return m_db.isOpen() && m_readOnly;
}

void Connection::open()
{
    if (m_db.isOpen())
        return;
    const QFileInfo file(m_path);
    const QString shown = file.absoluteFilePath();
    // SQLite would create a missing file, so look first; mode=rw below also refuses to create it.
    if (!file.exists())
        throw AppError(QStringLiteral("找不到数据库文件“%1”").arg(shown));
    if (!m_db.isValid())
        throw AppError(QStringLiteral("无法加载 SQLite 数据库驱动"));

    // Asked of the system for this user, so that a read-only disk counts too; root may write anything.
    const bool readOnly = !file.isWritable() || !QFileInfo(file.absolutePath()).isWritable();
    QUrl address = QUrl::fromLocalFile(shown);
    address.setScheme(QStringLiteral("file"));
    address.setQuery(readOnly ? QStringLiteral("mode=ro") : QStringLiteral("mode=rw"));
    m_db.setDatabaseName(address.toString(QUrl::FullyEncoded));
    m_db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000"));
    if (!m_db.open())
        throw AppError(QStringLiteral("无法打开数据库文件“%1”：%2").arg(shown, m_db.lastError().text()));
    try {
        checkUsable();
    } catch (...) {
        m_db.close();
        throw;
    }
    // SQLite also falls back to reading alone when it may not write after all.
    m_readOnly = readOnly || sqlite3_db_readonly(handle(), "main") == 1;
}

// A file that is not a database opens without complaint; the first statement tells.
void Connection::checkUsable()
{
    const QString shown = QFileInfo(m_path).absoluteFilePath();
    QSqlQuery probe(m_db);
    if (!probe.exec(QStringLiteral("PRAGMA table_info(\"%1\")").arg(reminderTable())))
        throw AppError(QStringLiteral("“%1”不是可用的数据库文件：%2").arg(shown, probe.lastError().databaseText()));
    QStringList columns;
    while (probe.next())
        columns << probe.value(1).toString();
    if (columns.isEmpty())
        throw AppError(QStringLiteral("数据库文件“%1”中没有表“%2”").arg(shown, reminderTable()));
    for (const QString &column : reminderColumns()) {
        if (!columns.contains(column, Qt::CaseInsensitive))
            throw AppError(QStringLiteral("数据库文件“%1”的表“%2”缺少列“%3”").arg(shown, reminderTable(), column));
    }
    // Every change reaches the disk before it counts, so a crash or a kill loses nothing committed.
    probe.exec(QStringLiteral("PRAGMA synchronous=FULL"));
}

sqlite3 *Connection::handle() const
{
    const QVariant native = m_db.driver()->handle();
    return qstrcmp(native.typeName(), "sqlite3*") == 0 ? *static_cast<sqlite3 *const *>(native.constData()) : nullptr;
}
