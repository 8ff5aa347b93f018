#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

class Connection;
class QDateTime;

// One query object of the data module: an SQL text with named parameters that is executed as a command
// or opened as a result with a current row. Results are read a page at a time, so a result of a million
// rows opens as fast as one of ten; no statement stays active between calls, so other processes can
// write the file while a result is open.
class Query : public QObject
{
    Q_OBJECT

public:
    Query(QString name, Connection &connection, QObject *parent = nullptr);

    const QString &name() const { return m_name; }

    // Replaces the SQL text; the parameter list is rebuilt from the text's ":name" markers.
    void setSql(const QString &text);
    const QString &sql() const { return m_sql; }
    QStringList paramNames() const;
    void bind(const QString &paramName, const QVariant &value);
    void bind(int position, const QVariant &value);

    void open();
    // Runs a command; returns the number of rows it changed.
    int execSql();
    void close();
    bool isOpen() const { return m_open; }

    // The exact number of rows of the open result.
    int recordCount() const;
    bool isEmpty() const { return recordCount() == 0; }
    int currentRow() const;
    void setCurrentRow(int row);
    void first() { setCurrentRow(0); }
    void next();
    bool eof() const;

    // Fields of the current row, by column name.
    QVariant fieldValue(const QString &column) const;
    // Throws AppError when the value is missing.
    QString fieldText(const QString &column) const;
    // Throws AppError when the value is missing or does not name a date and time.
    QDateTime fieldDateTime(const QString &column) const;

    // Removes the current row from its table; false when another program had already removed it.
    bool deleteCurrent();

    // Paged access for views.
    const QStringList &columns() const { return m_columns; }
    int fetchedCount() const { return int(m_rows.size()); }
    bool canFetchMore() const { return m_open && fetchedCount() < m_total; }
    void fetchMore();
    QVariant value(int row, int column) const { return m_rows.at(row).at(column); }

signals:
    void aboutToReset();
    void reset();
    void aboutToFetch(int first, int last);
    void fetched();
    void aboutToRemove(int row);
    void removed();
    void currentRowChanged(int row);

private:
    struct Marker
    {
        QString name;
        QVariant value;
    };

    void requireOpen() const;
    void requireRow() const;
    int columnIndex(const QString &column) const;
    // The SQL with '?' for each marker, and the values in marker order, date-times made canonical.
    QString positionalSql() const;
    QVariantList boundValues() const;
    QVector<QVector<QVariant>> readPage(int offset);
    int countRows() const;
    [[noreturn]] void fail(const QString &message) const;

    QString m_name;
    Connection &m_connection;
    QString m_sql;
    QVector<Marker> m_params;
    QStringList m_markerOrder; // the marker names as they occur, duplicates included
    bool m_open = false;
    QStringList m_columns;
    QVector<QVector<QVariant>> m_rows;
    int m_total = 0;
    int m_current = 0;
};
