#pragma once

#include "store/repetition.h"

#include <QDateTime>
#include <QHash>
#include <optional>

class ReminderStore;
class Statement;
struct Reminder;

// The rules of repeating reminders, kept beside 日程提醒 (repeatTableStatements()) by the row they move.
// A file without the table has no repeating reminders; it is made when a first rule is kept. Failures throw
// AppError, as the store's do.
class ReminderRepeats
{
public:
    explicit ReminderRepeats(ReminderStore &store);

    // The row's rule; none when the row does not repeat.
    std::optional<Repetition> of(qint64 row);
    // Every rule, by row, for listings.
    QHash<qint64, Repetition> all();
    // Keeps `repetition` as the row's rule (replacing one it had); a write, in a transaction of the store's or
    // on its own (the table may be left made when it fails).
    void keep(qint64 row, const Repetition &repetition);
    // Adds `reminder` as a repeating one: its due time is the series' start, the row holds the first
    // occurrence from then on. Both in one transaction; returns the row's id.
    qint64 add(Reminder reminder, const QString &rule, const QList<QDateTime> &exceptions = {});
    // Writes `reminder` (found by its id, as ReminderStore::update does) with `rule` as its repeat, both in one
    // transaction: a rule starts afresh at the reminder's time, unless neither rule nor time changed, and the
    // row holds its first occurrence from then on; an empty rule makes it a reminder that does not repeat.
    // Returns false when no row had the id.
    bool update(Reminder reminder, const QString &rule);
    // Drops the occurrence that `reminder`'s row holds from its series (an exception) and moves the row to the
    // next one; the last occurrence of a series that has ended goes with its rule. Returns false when the
    // reminder does not repeat or its row is gone.
    bool skipOccurrence(const Reminder &reminder);
    // Moves the rows of the repeating reminders among `reminders` to their first occurrence after the
    // wall-clock moment `after`, reading the rules and writing the rows in one transaction (the alerts of one
    // look: many series falling due together cost one write to the disk). A series that has ended by then
    // leaves its row at its last occurrence; a reminder that does not repeat stays as it is.
    void advance(const QList<Reminder> &reminders, const QDateTime &after);
    // Moves every repeating row whose time is not after the wall-clock moment `now` to its first occurrence
    // after it, in one transaction: the series that passed while nothing watched them.
    void advanceOverdue(const QDateTime &now);

    // Deletes the reminder with this id and its rule, both or neither, also within a transaction of the store's.
    // Returns false when no row had it.
    bool remove(qint64 id);
    // Forgets the row's rule, which makes it a reminder that does not repeat; a write, within a transaction of
    // the store's.
    void forget(qint64 row);
    // Forgets the rules whose row is gone (another program deleted it), so that no row made later in its
    // place repeats.
    void forgetOrphans();

private:
    bool hasTable();
    // Moves the rows that `rules` (row, rule, start, exceptions) selects to their first occurrence after
    // `after`, inside a transaction; an ended series stays.
    void moveAll(Statement &rules, const QDateTime &after);
    bool moveTo(qint64 row, const QDateTime &occurrence);

    ReminderStore &m_store;
};
