#pragma once

#include "store/reminder.h"

#include <QStringList>

// Where a reminder's fields lie among the columns of a whole-row select, "SELECT rowid,* ...": the row itself
// first, then the table's own columns, which a file made by another program may order differently.
class ReminderFields
{
public:
    ReminderFields() = default;
    explicit ReminderFields(const QStringList &columns);

    // The reminder of a row of texts as Statement::texts reads them; a field without a column stays empty.
    Reminder reminder(const QStringList &row) const;
    // The row's 时间 as it is stored, unread.
    QString storedDueText(const QStringList &row) const { return row.value(m_due); }
    // Whether the row's id is an integer, the key that the update and the deletion look for.
    bool hasUsableId(const QStringList &row) const;

private:
    qsizetype m_id = -1;
    qsizetype m_subject = -1;
    qsizetype m_content = -1;
    qsizetype m_due = -1;
    qsizetype m_day = -1;
};
