#pragma once

#include <QSqlDatabase>
#include <QString>

struct sqlite3;

// The connection to the reminder database file. It never creates the file, the table or its columns:
// every opening first checks that they exist, and a failed opening is retried by the next statement.
class Connection
{
public:
    // `uriOptions` are added to the SQLite file address (tests pass "mode=ro" to open read-only).
    explicit Connection(QString path, QString uriOptions = QStringLiteral("mode=rw"));
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    // Opens the file if it is not open; throws AppError naming the file when it cannot be used.
    void open();
    bool isOpen() const;
    QSqlDatabase &database() { return m_db; }
    // SQLite's own handle of the open connection, or null while it is closed.
    sqlite3 *handle() const;
    const QString &path() const { return m_path; }

private:
    void checkUsable();

    QString m_path;
    QString m_uriOptions;
    QSqlDatabase m_db;
};
