#pragma once

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
    bool isOpen() const { return m_db != nullptr; }
    // Whether the open file may only be read; false while it is closed.
    bool isReadOnly() const { return m_db && m_readOnly; }
    // SQLite's own handle of the open connection, or null while it is closed.
    sqlite3 *handle() const { return m_db; }
    const QString &path() const { return m_path; }

private:
    void checkUsable();
    bool hasRowids() const;

    QString m_path;
    sqlite3 *m_db = nullptr;
    bool m_readOnly = false;
};
