#include "store/query.h"

#include "core/apperror.h"
#include "store/connection.h"
#include "store/schema.h"
#include "store/textformats.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

#include <sqlite3.h>

namespace {

constexpr int kPageSize = 256;

bool isNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

// Splits SQL text into the text with '?' in place of each ":name" marker and the marker names in order.
// Quoted strings and identifiers are copied as they stand.
QString replaceMarkers(const QString &sql, QStringList *names)
{
    QString out;
    out.reserve(sql.size());
    QChar quote;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql.at(i);
        if (!quote.isNull()) {
            out += c;
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('[')) {
            quote = c == QLatin1Char('[') ? QLatin1Char(']') : c;
            out += c;
        } else if (c == QLatin1Char(':') && i + 1 < sql.size() && sql.at(i + 1) == QLatin1Char(':')) {
            out += c; // "::" stands for a literal colon
            ++i;
        } else if (c == QLatin1Char(':') && i + 1 < sql.size() && isNameChar(sql.at(i + 1))) {
            qsizetype end = i + 1;
            while (end < sql.size() && isNameChar(sql.at(end)))
                ++end;
            if (names)
                names->append(sql.mid(i + 1, end - i - 1));
            out += QLatin1Char('?');
            i = end - 1;
        } else {
            out += c;
        }
    }
    return out;
}

qsizetype skipSpace(const QString &sql, qsizetype i)
{
    while (i < sql.size() && sql.at(i).isSpace())
        ++i;
    return i;
}

// The keyword at i, not part of a longer name, with the position after it; -1 when it is not there.
qsizetype afterKeyword(const QString &sql, qsizetype i, QLatin1String keyword)
{
    if (i > 0 && isNameChar(sql.at(i - 1)))
        return -1;
    const qsizetype end = i + keyword.size();
    if (QStringView(sql).mid(i, keyword.size()).compare(keyword, Qt::CaseInsensitive) != 0
        || (end < sql.size() && isNameChar(sql.at(end))))
        return -1;
    return end;
}

// The name of a ":name" marker at i, or an empty text.
QString markerAt(const QString &sql, qsizetype i)
{
    if (i >= sql.size() || sql.at(i) != QLatin1Char(':'))
        return {};
    qsizetype end = i + 1;
    while (end < sql.size() && isNameChar(sql.at(end)))
        ++end;
    return sql.mid(i + 1, end - i - 1);
}

// The column list and the value list of "insert into <table>(<columns>)values(<values>)", if sql is one.
bool insertLists(const QString &sql, QString *columns, QString *values)
{
    for (qsizetype at = sql.indexOf(QLatin1String("insert"), 0, Qt::CaseInsensitive); at >= 0;
         at = sql.indexOf(QLatin1String("insert"), at + 1, Qt::CaseInsensitive)) {
        qsizetype i = afterKeyword(sql, at, QLatin1String("insert"));
        if (i < 0)
            continue;
        i = afterKeyword(sql, skipSpace(sql, i), QLatin1String("into"));
        const qsizetype open = i < 0 ? -1 : sql.indexOf(QLatin1Char('('), i);
        const qsizetype close = open < 0 ? -1 : sql.indexOf(QLatin1Char(')'), open);
        if (close < 0 || skipSpace(sql, i) == open)
            continue;
        i = afterKeyword(sql, skipSpace(sql, close + 1), QLatin1String("values"));
        const qsizetype valuesOpen = i < 0 ? -1 : skipSpace(sql, i);
        const qsizetype valuesClose =
            valuesOpen < 0 || valuesOpen >= sql.size() || sql.at(valuesOpen) != QLatin1Char('(')
                ? -1
                : sql.indexOf(QLatin1Char(')'), valuesOpen);
        if (valuesClose < 0)
            continue;
        *columns = sql.mid(open + 1, close - open - 1);
        *values = sql.mid(valuesOpen + 1, valuesClose - valuesOpen - 1);
        return true;
    }
    return false;
}

// The markers whose values go into the date-time column: "时间=:x" and the matching place of an insert.
// Scanned by hand: this runs for every statement, and a pattern engine would be loaded for it alone.
QStringList dateTimeMarkers(const QString &sql)
{
    QStringList names;
    const QString column = dateTimeColumn();
    for (qsizetype at = sql.indexOf(column); at >= 0; at = sql.indexOf(column, at + 1)) {
        const qsizetype equals = skipSpace(sql, at + column.size());
        if (equals < sql.size() && sql.at(equals) == QLatin1Char('=')) {
            const QString name = markerAt(sql, skipSpace(sql, equals + 1));
            if (!name.isEmpty())
                names << name;
        }
    }
    QString columns;
    QString values;
    if (!insertLists(sql, &columns, &values))
        return names;
    const QStringList columnList = columns.split(QLatin1Char(','));
    const QStringList valueList = values.split(QLatin1Char(','));
    for (qsizetype i = 0; i < columnList.size() && i < valueList.size(); ++i) {
        const QString value = valueList.at(i).trimmed();
        if (columnList.at(i).trimmed() == column && value.startsWith(QLatin1Char(':')))
            names << value.mid(1);
    }
    return names;
}

// The table named after the first "from".
QString tableOf(const QString &sql)
{
    for (qsizetype at = sql.indexOf(QLatin1String("from"), 0, Qt::CaseInsensitive); at >= 0;
         at = sql.indexOf(QLatin1String("from"), at + 1, Qt::CaseInsensitive)) {
        const qsizetype end = afterKeyword(sql, at, QLatin1String("from"));
        qsizetype i = end < 0 ? -1 : skipSpace(sql, end);
        if (i <= end)
            continue; // "from" must be followed by white space
        if (i < sql.size() && (sql.at(i) == QLatin1Char('"') || sql.at(i) == QLatin1Char('[')))
            ++i;
        const qsizetype start = i;
        static const QString stops = QStringLiteral("\"](),;");
        while (i < sql.size() && !sql.at(i).isSpace() && !stops.contains(sql.at(i)))
            ++i;
        if (i > start)
            return sql.mid(start, i - start);
    }
    return {};
}

// Reads a text already in the stored form "yyyy-mm-dd hh:MM:ss" without the general parser: every value
// read back from the table and every due text has this form, and the general parser's pattern match and
// number conversions cost more than the index lookup that found the row. Anything else, or a text that
// does not name a real date and time, is left to parseDateTimeText (an invalid result here).
QDateTime canonicalDateTime(const QString &text)
{
    if (text.size() != 19 || text.at(4) != QLatin1Char('-') || text.at(7) != QLatin1Char('-')
        || text.at(10) != QLatin1Char(' ') || text.at(13) != QLatin1Char(':') || text.at(16) != QLatin1Char(':'))
        return {};
    int fields[6];
    const int starts[6] = {0, 5, 8, 11, 14, 17};
    const int lengths[6] = {4, 2, 2, 2, 2, 2};
    for (int f = 0; f < 6; ++f) {
        int number = 0;
        for (int i = starts[f]; i < starts[f] + lengths[f]; ++i) {
            const char16_t c = text.at(i).unicode();
            if (c < u'0' || c > u'9')
                return {};
            number = number * 10 + (c - u'0');
        }
        fields[f] = number;
    }
    const QDate date(fields[0], fields[1], fields[2]);
    const QTime time(fields[3], fields[4], fields[5]);
    if (!date.isValid() || !time.isValid())
        return {};
    // The same wall-clock value that parseDateTimeText gives, built from its count of milliseconds, which
    // takes a third less time than from the date and the time.
    constexpr qint64 kUnixEpochJulianDay = 2440588;
    constexpr qint64 kMsecsPerDay = 86'400'000;
    return QDateTime::fromMSecsSinceEpoch(
        (date.toJulianDay() - kUnixEpochJulianDay) * kMsecsPerDay + time.msecsSinceStartOfDay(), Qt::UTC);
}

QDateTime anyDateTime(const QString &text)
{
    const QDateTime fast = canonicalDateTime(text);
    return fast.isValid() ? fast : parseDateTimeText(text);
}

QString conversionError(const QString &type)
{
    return QStringLiteral("Could not convert variant of type (Null) into type (%1)").arg(type);
}

} // namespace

Query::Query(QString name, Connection &connection, QObject *parent)
    : QObject(parent)
    , m_name(std::move(name))
    , m_connection(connection)
{
}

void Query::fail(const QString &message) const
{
    throw AppError(m_name + QStringLiteral(": ") + message);
}

void Query::setSql(const QString &text)
{
    close();
    m_sql = text;
    m_params.clear();
    m_markerOrder.clear();
    replaceMarkers(m_sql, &m_markerOrder);
    for (const QString &name : std::as_const(m_markerOrder)) {
        if (!paramNames().contains(name, Qt::CaseInsensitive))
            m_params.append({name, QVariant()});
    }
}

QStringList Query::paramNames() const
{
    QStringList names;
    for (const Marker &param : m_params)
        names << param.name;
    return names;
}

void Query::bind(const QString &paramName, const QVariant &value)
{
    for (Marker &param : m_params) {
        if (param.name.compare(paramName, Qt::CaseInsensitive) == 0) {
            param.value = value;
            return;
        }
    }
    fail(QStringLiteral("Parameter '%1' not found").arg(paramName));
}

void Query::bind(int position, const QVariant &value)
{
    if (position < 0 || position >= m_params.size())
        fail(QStringLiteral("List index out of bounds (%1)").arg(position));
    m_params[position].value = value;
}

QString Query::positionalSql() const
{
    QString sql = replaceMarkers(m_sql, nullptr).trimmed();
    while (sql.endsWith(QLatin1Char(';')))
        sql.chop(1);
    return sql;
}

QVariantList Query::boundValues() const
{
    const QStringList dateTimes = dateTimeMarkers(m_sql);
    QVariantList values;
    for (const QString &name : m_markerOrder) {
        QVariant value;
        for (const Marker &param : m_params) {
            if (param.name.compare(name, Qt::CaseInsensitive) == 0)
                value = param.value;
        }
        if (dateTimes.contains(name, Qt::CaseInsensitive)) {
            if (value.userType() == QMetaType::QString && canonicalDateTime(value.toString()).isValid()) {
                values << value; // already in the stored form
                continue;
            }
            const QDateTime parsed =
                value.userType() == QMetaType::QDateTime ? value.toDateTime() : parseDateTimeText(value.toString());
            if (!parsed.isValid())
                fail(QStringLiteral("“%1”不是有效的日期和时间").arg(value.toString()));
            value = canonicalDateTimeText(parsed);
        }
        values << value;
    }
    return values;
}

namespace {

QSqlQuery prepared(QSqlDatabase &db, const QString &sql, const QVariantList &values)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        throw AppError(query.lastError().text());
    for (const QVariant &value : values)
        query.addBindValue(value);
    if (!query.exec())
        throw AppError(query.lastError().text());
    return query;
}

// A select read straight through SQLite. QSqlQuery has SQLite convert every text to UTF-16 and copies each
// row twice on its way out, which made the program's selects several times slower than the same statements
// in the sqlite3 shell. Values are bound, and fields come back, as the Qt driver does it, and the
// statement is finalised when the reader goes, so that no lock outlives a call.
class Reader
{
public:
    Reader(const Connection &connection, const QString &sql, const QVariantList &values)
        : m_db(connection.handle())
    {
        if (!m_db)
            throw AppError(QStringLiteral("Driver not loaded"));
        const QByteArray text = sql.toUtf8();
        const char *tail = nullptr;
        if (sqlite3_prepare_v2(m_db, text.constData(), int(text.size()), &m_stmt, &tail) != SQLITE_OK)
            fail(QStringLiteral("Unable to execute statement"));
        if (tail && !QByteArrayView(tail, text.constData() + text.size() - tail).trimmed().isEmpty())
            throw AppError(QStringLiteral("Unable to execute multiple statements at a time"));
        if (sqlite3_bind_parameter_count(m_stmt) != values.size())
            throw AppError(QStringLiteral("Parameter count mismatch"));
        for (int i = 0; i < values.size(); ++i) {
            if (bind(i + 1, values.at(i)) != SQLITE_OK)
                fail(QStringLiteral("Unable to bind parameters"));
        }
    }
    ~Reader() { sqlite3_finalize(m_stmt); }
    Reader(const Reader &) = delete;
    Reader &operator=(const Reader &) = delete;

    int columnCount() const { return sqlite3_column_count(m_stmt); }
    QString columnName(int column) const { return QString::fromUtf8(sqlite3_column_name(m_stmt, column)); }

    bool next()
    {
        const int status = sqlite3_step(m_stmt);
        if (status == SQLITE_ROW)
            return true;
        if (status != SQLITE_DONE)
            fail(QStringLiteral("Unable to fetch row"));
        return false;
    }

    QVariant value(int column) const
    {
        switch (sqlite3_column_type(m_stmt, column)) {
        case SQLITE_INTEGER:
            return qlonglong(sqlite3_column_int64(m_stmt, column));
        case SQLITE_FLOAT:
            return sqlite3_column_double(m_stmt, column);
        case SQLITE_NULL:
            return QVariant(QMetaType::fromType<QString>());
        case SQLITE_BLOB:
            return QByteArray(static_cast<const char *>(sqlite3_column_blob(m_stmt, column)),
                              sqlite3_column_bytes(m_stmt, column));
        default: {
            const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column));
            return QString::fromUtf8(text, sqlite3_column_bytes(m_stmt, column));
        }
        }
    }

private:
    static bool isNullValue(const QVariant &value)
    {
        if (value.isNull())
            return true;
        switch (value.userType()) {
        case QMetaType::QString:
            return value.toString().isNull();
        case QMetaType::QByteArray:
            return value.toByteArray().isNull();
        case QMetaType::QDateTime:
            return value.toDateTime().isNull();
        case QMetaType::QDate:
            return value.toDate().isNull();
        case QMetaType::QTime:
            return value.toTime().isNull();
        default:
            return false;
        }
    }

    int bind(int index, const QVariant &value)
    {
        if (isNullValue(value))
            return sqlite3_bind_null(m_stmt, index);
        switch (value.userType()) {
        case QMetaType::QByteArray: {
            const QByteArray bytes = value.toByteArray();
            return sqlite3_bind_blob(m_stmt, index, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
        }
        case QMetaType::Int:
        case QMetaType::Bool:
            return sqlite3_bind_int(m_stmt, index, value.toInt());
        case QMetaType::Double:
            return sqlite3_bind_double(m_stmt, index, value.toDouble());
        case QMetaType::UInt:
        case QMetaType::LongLong:
            return sqlite3_bind_int64(m_stmt, index, value.toLongLong());
        case QMetaType::QDateTime:
            return bindText(index, value.toDateTime().toString(Qt::ISODateWithMs));
        case QMetaType::QTime:
            return bindText(index, value.toTime().toString(QStringLiteral("hh:mm:ss.zzz")));
        default:
            return bindText(index, value.toString());
        }
    }

    int bindText(int index, const QString &text)
    {
        return sqlite3_bind_text16(m_stmt, index, text.utf16(), int(text.size() * sizeof(QChar)), SQLITE_TRANSIENT);
    }

    // The engine's message first, then what failed, as the Qt driver words its errors.
    [[noreturn]] void fail(const QString &what) const
    {
        throw AppError(QString::fromUtf8(sqlite3_errmsg(m_db)) + QLatin1Char(' ') + what);
    }

    sqlite3 *m_db = nullptr;
    sqlite3_stmt *m_stmt = nullptr;
};

} // namespace

int Query::execSql()
{
    close();
    const QVariantList values = boundValues();
    m_connection.open();
    QSqlQuery query = prepared(m_connection.database(), positionalSql(), values);
    return query.numRowsAffected();
}

void Query::open()
{
    if (m_open)
        return;
    const QVariantList values = boundValues();
    m_connection.open();
    emit aboutToReset();
    m_rows.clear();
    m_columns.clear();
    m_current = 0;
    m_total = 0;
    try {
        m_rows = readPage(0);
        m_total = m_rows.size() < kPageSize ? int(m_rows.size()) : countRows();
    } catch (...) {
        m_rows.clear();
        m_columns.clear();
        emit reset();
        throw;
    }
    m_open = true;
    emit reset();
    emit currentRowChanged(m_current);
}

QVector<QVector<QVariant>> Query::readPage(int offset)
{
    // The first page runs the statement as it stands and stops after a page: the paging wrapper doubles
    // the time SQLite takes to prepare it, and preparing is most of the time of an indexed select.
    const QString sql =
        offset == 0
            ? positionalSql()
            : QStringLiteral("SELECT * FROM (%1) LIMIT %2 OFFSET %3").arg(positionalSql()).arg(kPageSize).arg(offset);
    Reader reader(m_connection, sql, boundValues());
    const int columns = reader.columnCount();
    if (m_columns.isEmpty()) {
        for (int i = 0; i < columns; ++i)
            m_columns << reader.columnName(i);
    }
    QVector<QVector<QVariant>> rows;
    while (rows.size() < kPageSize && reader.next()) {
        QVector<QVariant> row(columns);
        for (int i = 0; i < columns; ++i)
            row[i] = reader.value(i);
        rows.append(std::move(row));
    }
    return rows;
}

int Query::countRows() const
{
    Reader reader(m_connection, QStringLiteral("SELECT count(*) FROM (%1)").arg(positionalSql()), boundValues());
    return reader.next() ? reader.value(0).toInt() : 0;
}

void Query::fetchMore()
{
    if (!canFetchMore())
        return;
    m_connection.open();
    QVector<QVector<QVariant>> page = readPage(fetchedCount());
    page.resize(std::min<qsizetype>(page.size(), m_total - fetchedCount()));
    if (!page.isEmpty()) {
        emit aboutToFetch(fetchedCount(), fetchedCount() + int(page.size()) - 1);
        m_rows += page;
        emit fetched();
    }
    // Another program removed rows since the result was counted: what is there is all there is.
    if (page.size() < kPageSize)
        m_total = fetchedCount();
}

void Query::close()
{
    if (!m_open && m_rows.isEmpty())
        return;
    emit aboutToReset();
    m_open = false;
    m_rows.clear();
    m_columns.clear();
    m_total = 0;
    m_current = 0;
    emit reset();
}

void Query::requireOpen() const
{
    if (!m_open)
        fail(QStringLiteral("Cannot perform this operation on a closed dataset"));
}

void Query::requireRow() const
{
    requireOpen();
    if (m_total == 0)
        fail(QStringLiteral("Cannot perform this operation on an empty dataset"));
}

int Query::recordCount() const
{
    requireOpen();
    return m_total;
}

int Query::currentRow() const
{
    return m_current;
}

void Query::setCurrentRow(int row)
{
    requireOpen();
    row = std::clamp(row, 0, std::max(m_total - 1, 0));
    while (row >= fetchedCount() && canFetchMore())
        fetchMore();
    if (row == m_current)
        return;
    m_current = std::min(row, std::max(fetchedCount() - 1, 0));
    emit currentRowChanged(m_current);
}

void Query::next()
{
    requireOpen();
    if (m_current < m_total) {
        ++m_current;
        while (m_current >= fetchedCount() && canFetchMore())
            fetchMore();
        if (m_current < fetchedCount())
            emit currentRowChanged(m_current);
    }
}

bool Query::eof() const
{
    requireOpen();
    return m_current >= fetchedCount();
}

int Query::columnIndex(const QString &column) const
{
    requireOpen();
    // The program spells column names as the table does; the case-blind comparison is the slow fallback.
    const qsizetype exact = m_columns.indexOf(column);
    if (exact >= 0)
        return int(exact);
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_columns.at(i).compare(column, Qt::CaseInsensitive) == 0)
            return i;
    }
    fail(QStringLiteral("Field '%1' not found").arg(column));
}

QVariant Query::fieldValue(const QString &column) const
{
    const int index = columnIndex(column);
    if (m_current >= fetchedCount())
        return {};
    return m_rows.at(m_current).at(index);
}

QString Query::fieldText(const QString &column) const
{
    const QVariant value = fieldValue(column);
    if (value.isNull())
        throw AppError(conversionError(QStringLiteral("String")));
    return value.toString();
}

QDateTime Query::fieldDateTime(const QString &column) const
{
    const QVariant value = fieldValue(column);
    if (value.isNull())
        throw AppError(conversionError(QStringLiteral("Date")));
    const QDateTime parsed = anyDateTime(value.toString());
    if (!parsed.isValid())
        throw AppError(QStringLiteral("'%1' is not a valid date and time").arg(value.toString()));
    return parsed;
}

bool Query::deleteCurrent()
{
    requireRow();
    const QVariant key = fieldValue(QStringLiteral("id"));
    m_connection.open();
    const QString sql = QStringLiteral("DELETE FROM \"%1\" WHERE id=?").arg(tableOf(m_sql));
    QSqlQuery query = prepared(m_connection.database(), sql, {key});
    const bool removedRow = query.numRowsAffected() > 0;
    const int row = m_current;
    emit aboutToRemove(row);
    m_rows.remove(row);
    --m_total;
    if (m_current >= fetchedCount() && m_current > 0)
        --m_current;
    emit removed();
    emit currentRowChanged(m_current);
    return removedRow;
}
