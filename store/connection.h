#pragma once

#include <QSqlDatabase>
#include <QString>

struct sqlite3;

// The connection to the reminder database file. It never creates the file, the table or its columns:
// every opening first checks that they exist, and a failed opening is retried by the next statement.
// A file that this user may not change (or whose directory he may not write, where SQLite keeps its
// journal) is opened read-only, so that nothing is written to it or beside it.
class Connection
{
public:
    explicit Connection(QString path);
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    // Opens the file if it is not open; throws AppError naming the file when it cannot be used.
    void open();
    bool isOpen() const;
    // Whether the open file may only be read; false while it is closed.
    bool isReadOnly() const;
    QSqlDatabase &database() { return m_db; }
    // SQLite's own handle of the open connection, or null while it is closed.
    sqlite3 *handle() const;
    const QString &path() const { return m_path; }

private:
    void checkUsable();

    QString m_path;
    QSqlDatabase m_db;
    bool m_readOnly = false;
};
