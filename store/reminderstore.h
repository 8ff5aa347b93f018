#pragma once

#include "store/reminder.h"

#include <QList>
#include <QString>
#include <functional>
#include <memory>

class Connection;

// The one place where reminders live: the table 日程提醒 in the database file, reached through one
// connection. Every operation runs one statement (where one is quoted below, exactly that one), with every
// value bound as a parameter; each opens the file first when it is not open. Failures throw AppError with
// the engine's message (or the file's problem), and nothing is retried.
class ReminderStore
{
public:
    // `path` is the database file; it is never created (a missing file is an error at open()).
    explicit ReminderStore(QString path = QStringLiteral("data.mdb"));
    // Makes a starter file at `path`, readable and writable by this user only: the table 日程提醒 with its
    // columns and indexes, and no rows. The file appears complete or not at all. Throws AppError when `path`
    // exists, or is a link even one that leads nowhere (it is left as it is), or cannot be made (nothing is
    // left behind).
    static void create(const QString &path);
    ~ReminderStore();
    ReminderStore(const ReminderStore &) = delete;
    ReminderStore &operator=(const ReminderStore &) = delete;

    // Opens the file if it is not open; throws AppError naming the file when it is missing, not a
    // database, or lacks the table or one of its columns.
    void open();
    bool isOpen() const;
    // Whether the open file may only be read (this user may not write it or its directory): every select
    // works, and add, update, remove and transaction throw AppError naming the file. False while closed.
    bool isReadOnly() const;
    // "PRAGMA data_version": changes whenever another connection (another program) has committed a change
    // to the file since the last call; the store's own changes leave it as it is.
    qint64 dataVersion();

    // The reminders whose 时间 falls in `minute`'s minute, in time order (the value, then the row); every field
    // read. For the rows the program writes, in the stored form, these are the rows of "SELECT * FROM 日程提醒
    // WHERE 时间 =:a" with :a the minute's first second; a time written by another program counts as SQLite's
    // datetime() reads it, whatever its spelling ("yyyy-mm-dd hh:MM", seconds, "T", the date alone for
    // midnight). A text that datetime() does not read (such as a one-digit hour) never falls due.
    QList<Reminder> dueAt(const QDateTime &minute);
    // The same for the minutes after `after`'s minute, up to and including `upTo`'s minute; along the 时间
    // index.
    QList<Reminder> dueBetween(const QDateTime &after, const QDateTime &upTo);
    // "select 主题,时间 from 日程提醒 where 日期=:a", :a the day as "yyyy-mm-dd". Only subject and due are
    // read; the rows come in the order the store returns them. Built straight from the statement: this is
    // the agenda's refresh and must stay close to the sqlite3 shell's speed.
    QList<Reminder> onDay(const QDate &day);
    // Hands every reminder whose 日期 lies from `first` to `last` (both included; an invalid date leaves
    // that end open, so two invalid dates give every row) to `visit`, in time order (时间, then id), every
    // field read. One row at a time, so that a million rows take no more memory than one.
    void forEachInTimeOrder(const QDate &first, const QDate &last, const std::function<void(const Reminder &)> &visit);
    // "insert into 日程提醒(主题,内容,时间,日期)values(:a,:b,:c,:d)": subject, content, due and day as given
    // (the caller trims the subject), due written in its one canonical form "yyyy-mm-dd hh:MM:ss".
    // Returns the id the store gave the new row.
    qint64 add(const Reminder &reminder);
    // "update 日程提醒 set 主题=:a,内容=:b,日期=:c,时间=:d where id=:e". Returns false when no row had the
    // id (another program deleted it); that is not an error.
    bool update(const Reminder &reminder);
    // Deletes the row with this id. Returns false when no row had it.
    bool remove(qint64 id);
    // Runs `writes` (calls of add, update and remove) as one transaction: all of them are kept, or, when
    // `writes` throws, none, and the exception goes on.
    void transaction(const std::function<void()> &writes);

    // The connection, for those that run statements of their own on the same file: the manager's list model
    // and the calendar import.
    Connection &connection();

private:
    // The reminders due from `firstMinute`'s minute up to but not including `endMinute`'s.
    QList<Reminder> dueIn(const QDateTime &firstMinute, const QDateTime &endMinute);
    // open(), and the refusal of a file that may only be read.
    void openForWriting();

    std::unique_ptr<Connection> m_connection;
};
