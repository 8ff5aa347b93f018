#include "store/reminderrepeats.h"

#include "core/apperror.h"
#include "store/connection.h"
#include "store/reminder.h"
#include "store/reminderstore.h"
#include "store/schema.h"
#include "store/statement.h"
#include "store/textformats.h"

#include <QCoreApplication>

namespace {

constexpr char kHasTableSql[] = "SELECT 1 FROM sqlite_master WHERE type='table' AND name='reminder_repeats'";
constexpr char kRuleSql[] = "SELECT rule,start,exceptions FROM reminder_repeats WHERE row=?";
constexpr char kAllSql[] = "SELECT row,rule,start,exceptions FROM reminder_repeats";
constexpr char kKeepSql[] = "INSERT OR REPLACE INTO reminder_repeats(row,rule,start,exceptions) VALUES(?,?,?,?)";
// The repeating rows due by a moment, with their rules.
constexpr char kOverdueSql[] = "SELECT row,rule,start,exceptions FROM reminder_repeats JOIN 日程提醒"
                               " ON 日程提醒.rowid=row WHERE datetime(时间)<=?";
// The rules of the rows in a JSON array of rowids.
constexpr char kRulesOfRowsSql[] = "SELECT row,rule,start,exceptions FROM reminder_repeats"
                                   " WHERE row IN (SELECT value FROM json_each(?))";
constexpr char kForgetRowSql[] = "DELETE FROM reminder_repeats WHERE row=?";
constexpr char kForgetSql[] = "DELETE FROM reminder_repeats WHERE row IN (SELECT rowid FROM 日程提醒 WHERE id=?)";
constexpr char kForgetOrphansSql[] = "DELETE FROM reminder_repeats WHERE row NOT IN (SELECT rowid FROM 日程提醒)";
constexpr char kMoveSql[] = "UPDATE 日程提醒 SET 时间=?,日期=? WHERE rowid=?";

Repetition repetitionOf(const QString &rule, const QString &start, const QString &exceptions)
{
    Repetition repetition{rule, parseDateTimeText(start), {}};
    for (const QString &exception : exceptions.split(QLatin1Char(','), Qt::SkipEmptyParts))
        repetition.exceptions << parseDateTimeText(exception);
    return repetition;
}

} // namespace

ReminderRepeats::ReminderRepeats(ReminderStore &store)
    : m_store(store)
{
}

bool ReminderRepeats::hasTable()
{
    m_store.open();
    return Statement(m_store.connection(), kHasTableSql, Statement::KeptPrepared).next();
}

std::optional<Repetition> ReminderRepeats::of(qint64 row)
{
    if (!hasTable())
        return std::nullopt;
    Statement select(m_store.connection(), kRuleSql);
    select.bind(1, row);
    if (!select.next())
        return std::nullopt;
    return repetitionOf(select.text(0), select.text(1), select.text(2));
}

QHash<qint64, Repetition> ReminderRepeats::all()
{
    QHash<qint64, Repetition> rules;
    if (!hasTable())
        return rules;
    Statement select(m_store.connection(), kAllSql);
    while (select.next())
        rules.insert(select.integer(0), repetitionOf(select.text(1), select.text(2), select.text(3)));
    return rules;
}

void ReminderRepeats::keep(qint64 row, const Repetition &repetition)
{
    if (!repetition.start.isValid())
        throw AppError(QCoreApplication::translate("ReminderStore", "提醒的日期或时间无效"));
    QStringList exceptions;
    for (const QDateTime &exception : repetition.exceptions)
        exceptions << canonicalDateTimeText(exception);
    m_store.open();
    for (const QString &statement : repeatTableStatements())
        Statement(m_store.connection(), statement.toUtf8()).run();
    Statement keep(m_store.connection(), kKeepSql);
    keep.bind(1, row);
    keep.bind(2, repetition.rule);
    keep.bind(3, canonicalDateTimeText(repetition.start));
    keep.bind(4, exceptions.join(QLatin1Char(',')));
    keep.run();
}

qint64 ReminderRepeats::add(Reminder reminder, const QString &rule, const QList<QDateTime> &exceptions)
{
    const Repetition repetition{rule, reminder.due, exceptions};
    // The start itself counts when the rule has it (a series of workdays begun on a Saturday starts on Monday).
    reminder.due = repetition.nextAfter(reminder.due.addSecs(-1));
    if (!reminder.due.isValid())
        throw AppError(QCoreApplication::translate("ReminderStore", "重复规则“%1”没有一次提醒").arg(rule));
    reminder.day = reminder.due.date();
    qint64 id = 0;
    m_store.transaction([&] {
        id = m_store.add(reminder);
        keep(id, repetition);
    });
    return id;
}

bool ReminderRepeats::update(Reminder reminder, const QString &rule)
{
    if (!reminder.due.isValid())
        throw AppError(QStringLiteral("提醒的日期或时间无效"));
    const std::optional<Repetition> before = of(reminder.rowid);
    std::optional<Repetition> after;
    if (!rule.isEmpty()) {
        const bool unchanged = before && before->rule == rule;
        after = Repetition{rule, reminder.due, unchanged ? before->exceptions : QList<QDateTime>()};
        if (unchanged && before->nextAfter(reminder.due.addSecs(-1)) == reminder.due)
            after->start = before->start;
        reminder.due = after->nextAfter(reminder.due.addSecs(-1));
        if (!reminder.due.isValid())
            throw AppError(QStringLiteral("重复规则“%1”没有一次提醒").arg(rule));
        reminder.day = reminder.due.date();
    }
    bool updated = false;
    m_store.transaction([&] {
        updated = m_store.update(reminder);
        if (!updated)
            return;
        if (after)
            keep(reminder.rowid, *after);
        else if (before)
            forget(reminder.rowid);
    });
    return updated;
}

bool ReminderRepeats::skipOccurrence(const Reminder &reminder)
{
    std::optional<Repetition> repetition = of(reminder.rowid);
    if (!repetition)
        return false;
    repetition->exceptions << reminder.due;
    const QDateTime next = repetition->nextAfter(reminder.due);
    bool done = false;
    m_store.transaction([&] {
        if (!next.isValid()) {
            done = remove(reminder.id);
            return;
        }
        keep(reminder.rowid, *repetition);
        done = moveTo(reminder.rowid, next);
    });
    return done;
}

void ReminderRepeats::forget(qint64 row)
{
    if (!hasTable())
        return;
    Statement forget(m_store.connection(), kForgetRowSql);
    forget.bind(1, row);
    forget.run();
}

void ReminderRepeats::advance(const QList<Reminder> &reminders, const QDateTime &after)
{
    if (reminders.isEmpty() || !hasTable())
        return;
    QByteArray rows = "[";
    for (const Reminder &reminder : reminders)
        rows += QByteArray::number(reminder.rowid) + ',';
    rows.back() = ']';
    m_store.transaction([&] {
        Statement select(m_store.connection(), kRulesOfRowsSql, Statement::KeptPrepared);
        select.bind(1, QString::fromLatin1(rows));
        moveAll(select, after);
    });
}

void ReminderRepeats::advanceOverdue(const QDateTime &now)
{
    if (!hasTable())
        return;
    m_store.transaction([&] {
        Statement overdue(m_store.connection(), kOverdueSql, Statement::KeptPrepared);
        overdue.bind(1, canonicalDateTimeText(now));
        moveAll(overdue, now);
    });
}

void ReminderRepeats::moveAll(Statement &rules, const QDateTime &after)
{
    // Read to the end before writing: SQLite leaves undefined what a scan sees of rows changed under it.
    QList<std::pair<qint64, QDateTime>> moves;
    while (rules.next()) {
        const QDateTime next = repetitionOf(rules.text(1), rules.text(2), rules.text(3)).nextAfter(after);
        if (next.isValid())
            moves.append({rules.integer(0), next});
    }
    for (const auto &[row, next] : std::as_const(moves))
        moveTo(row, next);
}

bool ReminderRepeats::moveTo(qint64 row, const QDateTime &occurrence)
{
    Statement move(m_store.connection(), kMoveSql, Statement::KeptPrepared);
    move.bind(1, canonicalDateTimeText(occurrence));
    move.bind(2, reminderDateText(occurrence.date()));
    move.bind(3, row);
    return move.run() > 0;
}

bool ReminderRepeats::remove(qint64 id)
{
    if (!hasTable())
        return m_store.remove(id);
    // A savepoint, so that it holds within a transaction of the caller's as on its own.
    Statement(m_store.connection(), "SAVEPOINT repeat_remove").run();
    try {
        Statement forget(m_store.connection(), kForgetSql);
        forget.bind(1, id);
        forget.run();
        const bool removed = m_store.remove(id);
        Statement(m_store.connection(), "RELEASE repeat_remove").run();
        return removed;
    } catch (...) {
        Statement(m_store.connection(), "ROLLBACK TO repeat_remove").run();
        Statement(m_store.connection(), "RELEASE repeat_remove").run();
        throw;
    }
}

void ReminderRepeats::forgetOrphans()
{
    if (hasTable())
        Statement(m_store.connection(), kForgetOrphansSql).run();
}
