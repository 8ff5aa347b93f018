#include "store/statement.h"

#include "core/apperror.h"
#include "store/connection.h"

#include <sqlite3.h>

Statement::Statement(const Connection &connection, QByteArrayView sql)
    : m_db(connection.handle())
{
    if (!m_db)
        throw AppError(QStringLiteral("Driver not loaded"));
    if (sqlite3_prepare_v2(m_db, sql.data(), int(sql.size()), &m_stmt, nullptr) != SQLITE_OK)
        fail("Unable to execute statement");
}

Statement::Statement(const Connection &connection, const char *sql, Kept)
    : m_db(connection.handle())
    , m_stmt(connection.keptStatement(sql))
    , m_kept(m_stmt != nullptr)
{
    if (!m_db)
        throw AppError(QStringLiteral("Driver not loaded"));
    if (!m_stmt && sqlite3_prepare_v2(m_db, sql, -1, &m_stmt, nullptr) != SQLITE_OK)
        fail("Unable to execute statement");
}

Statement::~Statement()
{
    if (!m_kept) {
        sqlite3_finalize(m_stmt);
        return;
    }
    // Reset, it holds no lock on the file, as a finalised one would not.
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

void Statement::bind(int position, const QString &text)
{
    int status = SQLITE_OK;
    if (text.isNull()) {
        status = sqlite3_bind_null(m_stmt, position);
    } else {
        const QByteArray utf8 = text.toUtf8();
        status = sqlite3_bind_text(m_stmt, position, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    }
    if (status != SQLITE_OK)
        fail("Unable to bind parameters");
}

void Statement::bind(int position, qint64 value)
{
    if (sqlite3_bind_int64(m_stmt, position, value) != SQLITE_OK)
        fail("Unable to bind parameters");
}

bool Statement::next()
{
    const int status = sqlite3_step(m_stmt);
    if (status == SQLITE_ROW)
        return true;
    if (status != SQLITE_DONE)
        fail("Unable to fetch row");
    return false;
}

int Statement::run()
{
    while (next()) {
    }
    return sqlite3_changes(m_db);
}

QStringList Statement::columnNames() const
{
    QStringList names;
    for (int i = 0, count = sqlite3_column_count(m_stmt); i < count; ++i)
        names << QString::fromUtf8(sqlite3_column_name(m_stmt, i));
    return names;
}

QString Statement::text(int column) const
{
    if (sqlite3_column_type(m_stmt, column) == SQLITE_NULL)
        return {};
    const QUtf8StringView chars = utf8(column);
    // Not a null QString, even when empty: only NULL reads as one.
    return chars.isEmpty() ? QString(QLatin1String("")) : QString::fromUtf8(chars.data(), chars.size());
}

QUtf8StringView Statement::utf8(int column) const
{
    const auto *chars = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column));
    return QUtf8StringView(chars, chars ? sqlite3_column_bytes(m_stmt, column) : 0);
}

qint64 Statement::integer(int column) const
{
    return sqlite3_column_int64(m_stmt, column);
}

QStringList Statement::texts() const
{
    const int count = sqlite3_column_count(m_stmt);
    QStringList row;
    row.reserve(count);
    for (int i = 0; i < count; ++i)
        row << text(i);
    return row;
}

void Statement::fail(const char *what) const
{
    throw AppError(QString::fromUtf8(sqlite3_errmsg(m_db)) + QLatin1Char(' ') + QLatin1String(what));
}
