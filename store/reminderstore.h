#pragma once

#include "store/reminder.h"

#include <QList>
#include <QString>
#include <memory>

class Connection;

// The one place where reminders live: the table 日程提醒 in the database file, reached through one
// connection. Every operation runs its statement exactly as written below, with every value bound as a
// parameter; each opens the file first when it is not open. Failures throw AppError with the engine's
// message (or the file's problem), and nothing is retried.
class ReminderStore
{
public:
    // `path` is the database file; it is never created (a missing file is an error at open()).
    explicit ReminderStore(QString path = QStringLiteral("data.mdb"));
    ~ReminderStore();
    ReminderStore(const ReminderStore &) = delete;
    ReminderStore &operator=(const ReminderStore &) = delete;

    // Opens the file if it is not open; throws AppError naming the file when it is missing, not a
    // database, or lacks the table or one of its columns.
    void open();
    bool isOpen() const;

    // "SELECT * FROM 日程提醒 WHERE 时间 =:a", :a the first second of `minute`'s minute ("yyyy-mm-dd hh:MM:00").
    // Every field of each row is read.
    QList<Reminder> dueAt(const QDateTime &minute);
    // "select 主题,时间 from 日程提醒 where 日期=:a", :a the day as "yyyy-mm-dd". Only subject and due are
    // read; the rows come in the order the store returns them. Built straight from the statement: this is
    // the agenda's refresh and must stay close to the sqlite3 shell's speed.
    QList<Reminder> onDay(const QDate &day);
    // "insert into 日程提醒(主题,内容,时间,日期)values(:a,:b,:c,:d)": subject, content, due and day as given
    // (the caller trims the subject), due written in its one canonical form "yyyy-mm-dd hh:MM:ss".
    void add(const Reminder &reminder);
    // "update 日程提醒 set 主题=:a,内容=:b,日期=:c,时间=:d where id=:e". Returns false when no row had the
    // id (another program deleted it); that is not an error.
    bool update(const Reminder &reminder);
    // Deletes the row with this id. Returns false when no row had it.
    bool remove(qint64 id);

    // The connection, for the list model of the same store.
    Connection &connection();

private:
    std::unique_ptr<Connection> m_connection;
};
