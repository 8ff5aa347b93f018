#include "store/reminderstore.h"

#include "core/apperror.h"
#include "store/connection.h"
#include "store/reminderfields.h"
#include "store/schema.h"
#include "store/statement.h"
#include "store/textformats.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sqlite3.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

namespace {

// Markers are numbered from 1 in the order they occur.
constexpr char kDaySql[] = "select 主题,时间 from 日程提醒 where 日期=:a";
constexpr char kInsertSql[] = "insert into 日程提醒(主题,内容,时间,日期)values(:a,:b,:c,:d)";
constexpr char kUpdateSql[] = "update 日程提醒 set 主题=:a,内容=:b,日期=:c,时间=:d where id=:e";
constexpr char kDeleteSql[] = "DELETE FROM 日程提醒 WHERE id=?";
// The rows whose 时间 SQLite reads as a time from :a up to but not including :b (both in the stored form),
// whatever its spelling: with or without seconds or their fractions, "T" or blanks after the date, the date
// alone for midnight. The value decides, datetime(时间); the 时间 index finds the candidates by their text,
// which begins with their date: the minutes' own range "yyyy-mm-dd hh:MM" holds the stored form, and two
// small ranges around it the other spellings ("yyyy-mm-dd" alone or followed by a blank other than the
// stored form's, then " T..." and "T..." up to the last day).
constexpr char kDueInSql[] = "SELECT rowid,* FROM 日程提醒"
                             " WHERE (时间>=substr(:a,1,16) AND 时间<substr(:b,1,16)"
                             " OR 时间>=substr(:a,1,10) AND 时间<substr(:a,1,10)||' 0'"
                             " OR 时间>=substr(:a,1,10)||' :' AND 时间<date(:b,'-1 minute')||'U')"
                             " AND datetime(时间)>=:a AND datetime(时间)<:b"
                             " ORDER BY datetime(时间),rowid";

// A row without a real 时间 would never fall due and could not be shown, and 日期 must name the agenda's day.
void requireDateAndTime(const Reminder &reminder)
{
    if (!reminder.due.isValid() || !reminder.day.isValid())
        throw AppError(QCoreApplication::translate("ReminderStore", "提醒的日期或时间无效"));
}

// Every row of a select of whole rows, each read into a Reminder.
QList<Reminder> remindersOf(Statement &select)
{
    const ReminderFields fields(select.columnNames());
    QList<Reminder> reminders;
    while (select.next())
        reminders.append(fields.reminder(select.texts()));
    return reminders;
}

} // namespace

ReminderStore::ReminderStore(QString path)
    : m_connection(std::make_unique<Connection>(std::move(path)))
{
}

ReminderStore::~ReminderStore() = default;

void ReminderStore::create(const QString &path)
{
    const QString shown = QFileInfo(path).absoluteFilePath();
    const auto exists = [&shown] {
        return AppError(QCoreApplication::translate("ReminderStore", "数据库文件“%1”已经存在，保持原样").arg(shown));
    };
    const auto failed = [&shown](const QString &why) {
        return AppError(QCoreApplication::translate("ReminderStore", "无法创建数据库文件“%1”：%2").arg(shown, why));
    };
    // A link, even one that leads nowhere, is the user's.
    if (QFileInfo(shown).exists() || QFileInfo(shown).isSymLink())
        throw exists();
    // Made aside, for this user's eyes only (mkstemp's 0600), and moved into place only when complete, never
    // over what is there: a run that is killed half-way leaves no file that looks like a database.
    QByteArray aside = QFile::encodeName(QFileInfo(shown).absolutePath() + QStringLiteral("/.data.mdb.XXXXXX"));
    const int descriptor = ::mkstemp(aside.data());
    if (descriptor < 0)
        throw failed(QString::fromLocal8Bit(strerror(errno)));
    ::close(descriptor);
    const auto removeAside = qScopeGuard([&aside] { ::unlink(aside.constData()); });
    sqlite3 *db = nullptr;
    int status = sqlite3_open_v2(aside.constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    if (status == SQLITE_OK) {
        QByteArray script = "BEGIN;";
        for (const QString &statement : reminderTableStatements())
            script += statement.toUtf8() + ';';
        script += "COMMIT;";
        status = sqlite3_exec(db, script.constData(), nullptr, nullptr, nullptr);
    }
    const QString failure =
        status == SQLITE_OK ? QString() : QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(status));
    sqlite3_close(db);
    if (!failure.isEmpty())
        throw failed(failure);
    const QByteArray target = QFile::encodeName(shown);
    // A file system without renameat2's flag takes a hard link, which fails as well when the name is taken.
    int moved = ::renameat2(AT_FDCWD, aside.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE);
    if (moved != 0 && (errno == EINVAL || errno == ENOSYS))
        moved = ::link(aside.constData(), target.constData());
    if (moved == 0)
        return;
    if (errno == EEXIST)
        throw exists();
    throw failed(QString::fromLocal8Bit(strerror(errno)));
}

void ReminderStore::open()
{
    m_connection->open();
}

bool ReminderStore::isOpen() const
{
    return m_connection->isOpen();
}

bool ReminderStore::isReadOnly() const
{
    return m_connection->isReadOnly();
}

void ReminderStore::openForWriting()
{
    open();
    if (m_connection->isReadOnly()) {
        throw AppError(QCoreApplication::translate("ReminderStore", "数据库文件“%1”是只读文件，不能保存修改。")
                           .arg(QFileInfo(m_connection->path()).absoluteFilePath()));
    }
}

qint64 ReminderStore::dataVersion()
{
    open();
    Statement version(*m_connection, "PRAGMA data_version", Statement::KeptPrepared);
    return version.next() ? version.integer(0) : 0;
}

QList<Reminder> ReminderStore::dueAt(const QDateTime &minute)
{
    return dueIn(minute, minute.addSecs(60));
}

QList<Reminder> ReminderStore::dueBetween(const QDateTime &after, const QDateTime &upTo)
{
    return dueIn(after.addSecs(60), upTo.addSecs(60));
}

QList<Reminder> ReminderStore::dueIn(const QDateTime &firstMinute, const QDateTime &endMinute)
{
    open();
    Statement select(*m_connection, kDueInSql, Statement::KeptPrepared);
    select.bind(1, dueText(firstMinute));
    select.bind(2, dueText(endMinute));
    return remindersOf(select);
}

QList<Reminder> ReminderStore::onDay(const QDate &day)
{
    open();
    Statement select(*m_connection, kDaySql, Statement::KeptPrepared);
    select.bind(1, reminderDateText(day));
    QList<Reminder> reminders;
    while (select.next()) {
        Reminder &reminder = reminders.emplace_back();
        reminder.subject = select.text(0);
        reminder.due = parseDateTimeUtf8(select.utf8(1));
    }
    return reminders;
}

void ReminderStore::forEachInTimeOrder(const QDate &first, const QDate &last,
                                       const std::function<void(const Reminder &)> &visit)
{
    // One day is the agenda's equality, so that it takes the 日期 index as the agenda does.
    QByteArrayList tests;
    QStringList values;
    if (first.isValid() && first == last) {
        tests << "日期=?";
        values << reminderDateText(first);
    } else {
        if (first.isValid()) {
            tests << "日期>=?";
            values << reminderDateText(first);
        }
        if (last.isValid()) {
            tests << "日期<=?";
            values << reminderDateText(last);
        }
    }
    QByteArray sql = "SELECT rowid,* FROM 日程提醒";
    if (!tests.isEmpty())
        sql += " WHERE " + tests.join(" AND ");
    sql += " ORDER BY 时间,id";
    open();
    Statement select(*m_connection, sql);
    for (int i = 0; i < values.size(); ++i)
        select.bind(i + 1, values.at(i));
    const ReminderFields fields(select.columnNames());
    while (select.next())
        visit(fields.reminder(select.texts()));
}

qint64 ReminderStore::add(const Reminder &reminder)
{
    requireDateAndTime(reminder);
    openForWriting();
    Statement insert(*m_connection, kInsertSql);
    insert.bind(1, reminder.subject);
    insert.bind(2, reminder.content);
    insert.bind(3, canonicalDateTimeText(reminder.due));
    insert.bind(4, reminderDateText(reminder.day));
    insert.run();
    return sqlite3_last_insert_rowid(m_connection->handle());
}

bool ReminderStore::update(const Reminder &reminder)
{
    requireDateAndTime(reminder);
    openForWriting();
    Statement update(*m_connection, kUpdateSql);
    update.bind(1, reminder.subject);
    update.bind(2, reminder.content);
    update.bind(3, reminderDateText(reminder.day));
    update.bind(4, canonicalDateTimeText(reminder.due));
    update.bind(5, reminder.id);
    return update.run() > 0;
}

bool ReminderStore::remove(qint64 id)
{
    openForWriting();
    Statement remove(*m_connection, kDeleteSql);
    remove.bind(1, id);
    return remove.run() > 0;
}

void ReminderStore::transaction(const std::function<void()> &writes)
{
    openForWriting();
    // IMMEDIATE: another program's write waits for this one from the start, not at its first write.
    Statement(*m_connection, "BEGIN IMMEDIATE").run();
    try {
        writes();
        Statement(*m_connection, "COMMIT").run();
    } catch (...) {
        // The engine ends the transaction itself after some failures.
        if (sqlite3_get_autocommit(m_connection->handle()) == 0)
            sqlite3_exec(m_connection->handle(), "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

Connection &ReminderStore::connection()
{
    return *m_connection;
}
