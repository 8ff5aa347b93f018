#include "store/reminderfields.h"

#include "store/schema.h"
#include "store/textformats.h"

namespace {

// Column names compare as the engine compares them, without regard to case; the row itself, first, is not
// one of the table's columns even where SQLite names it after the id it stands for.
qsizetype indexOf(const QStringList &columns, const QString &name)
{
    for (qsizetype i = 1; i < columns.size(); ++i) {
        if (columns.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

} // namespace

ReminderFields::ReminderFields(const QStringList &columns)
{
    const QStringList names = reminderColumns();
    m_id = indexOf(columns, names.at(0));
    m_subject = indexOf(columns, names.at(1));
    m_content = indexOf(columns, names.at(2));
    m_due = indexOf(columns, names.at(3));
    m_day = indexOf(columns, names.at(4));
}

Reminder ReminderFields::reminder(const QStringList &row) const
{
    Reminder reminder;
    reminder.id = row.value(m_id).toLongLong();
    reminder.rowid = row.value(0).toLongLong();
    reminder.subject = row.value(m_subject);
    reminder.content = row.value(m_content);
    reminder.due = parseDateTimeText(row.value(m_due));
    reminder.day = parseDateText(row.value(m_day));
    return reminder;
}

bool ReminderFields::hasUsableId(const QStringList &row) const
{
    // As SQLite writes an integer: "7", not " 7", "07" or "7.0", which an integer key never equals.
    const QString text = row.value(m_id);
    bool integer = false;
    const qint64 id = text.toLongLong(&integer);
    return integer && QString::number(id) == text;
}
