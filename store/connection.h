#pragma once

#include <QHash>
#include <QString>

struct sqlite3;
struct sqlite3_stmt;

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
    // The statement `sql` prepared once for the connection's life, for those run at every tick: preparing
    // them anew costs more than running them. Null while it is in use (a statement is stepped by one at a
    // time) or cannot be prepared; the caller then prepares its own. `sql` is a string that lives as long
    // as the program: it is its key.
    sqlite3_stmt *keptStatement(const char *sql) const;

private:
    void checkUsable();
    bool hasRowids() const;

    QString m_path;
    sqlite3 *m_db = nullptr;
    bool m_readOnly = false;
    mutable QHash<const char *, sqlite3_stmt *> m_kept;
};
