#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QUtf8StringView>

struct sqlite3;
struct sqlite3_stmt;
class Connection;

// One SQL statement run straight through SQLite on the store's open connection. QSqlQuery would have SQLite
// convert every text to UTF-16 and copy each row twice on its way out, several times the cost of the
// statement itself. The statement is finalised when the object goes, so that no lock outlives a call.
// Failures throw AppError: the engine's message, then what failed, as the Qt driver words its errors.
class Statement
{
public:
    // `sql` is UTF-8.
    Statement(const Connection &connection, QByteArrayView sql);
    // The same for a statement run at every tick: the connection keeps it prepared, and it is reset
    // instead of finalised when the object goes. `sql` must live as long as the program.
    enum Kept { KeptPrepared };
    Statement(const Connection &connection, const char *sql, Kept);
    ~Statement();
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    // Binds the parameter at `position` (from 1, markers counted in the order they first occur); a null
    // QString binds NULL.
    void bind(int position, const QString &text);
    void bind(int position, qint64 value);

    // Steps to the next row; false when there is none.
    bool next();
    // Runs a command to its end; returns the number of rows it changed.
    int run();

    QStringList columnNames() const;
    // A field of the current row as SQLite's text of it, numbers and blobs included; a null QString for NULL.
    QString text(int column) const;
    // The same without the conversion; empty for NULL.
    QUtf8StringView utf8(int column) const;
    // A field of the current row as SQLite's integer of it.
    qint64 integer(int column) const;
    // Every field of the current row, as text() reads them.
    QStringList texts() const;

private:
    [[noreturn]] void fail(const char *what) const;

    sqlite3 *m_db = nullptr;
    sqlite3_stmt *m_stmt = nullptr;
    bool m_kept = false;
};
