#pragma once

#include <QString>
#include <QStringList>

// The reminder table: what the program relies on when it opens a file, and what a starter file holds.

inline QString reminderTable()
{
    return QStringLiteral("日程提醒");
}

// The columns in the table's order.
inline QStringList reminderColumns()
{
    return {QStringLiteral("id"), QStringLiteral("主题"), QStringLiteral("内容"), QStringLiteral("时间"),
            QStringLiteral("日期")};
}

// The statements that make the table in an empty file.
inline QStringList reminderTableStatements()
{
    return {
        // AUTOINCREMENT: an id is never given again after its row is deleted.
        QStringLiteral("CREATE TABLE 日程提醒 ("
                       " id INTEGER PRIMARY KEY AUTOINCREMENT,"
                       " 主题 TEXT,"
                       " 内容 TEXT,"
                       // Any time that SQLite reads falls due in its minute, whatever its spelling; only a
                       // text that names no time is refused (or no value, as before). Files made before keep
                       // their stricter check, which allowed the stored form alone.
                       " 时间 TEXT CHECK (时间 IS NULL OR datetime(时间) IS NOT NULL),"
                       " 日期 TEXT)"),
        QStringLiteral("CREATE INDEX 日程提醒_时间 ON 日程提醒(时间)"),
        QStringLiteral("CREATE INDEX 日程提醒_日期 ON 日程提醒(日期)"),
    };
}

// The program's own tables beside 日程提醒, made when first needed (the program's windows read only 日程提醒):
// the events that the calendar import took in, by UID and the start of the occurrence, so that nothing comes in
// twice; and the file's calendar id, one random value that export puts in its UIDs, so that exports of two
// files never name the same event.
inline QStringList calendarTableStatements()
{
    return {
        QStringLiteral("CREATE TABLE IF NOT EXISTS ics_imports(uid TEXT NOT NULL, start TEXT NOT NULL,"
                       " PRIMARY KEY(uid, start)) WITHOUT ROWID"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS orvane_calendar(id TEXT NOT NULL)"),
    };
}

// The program's own table of reminders put off (稍后提醒), made when first needed: the reminder's row, its
// subject and content as they were when it was put off, and when it comes again (wall-clock, in 时间's stored
// form). Kept apart from 日程提醒, so that putting one off changes nothing of its row.
inline QStringList snoozeTableStatements()
{
    return {
        QStringLiteral("CREATE TABLE IF NOT EXISTS reminder_snoozes(reminder INTEGER NOT NULL, subject TEXT,"
                       " content TEXT, due TEXT NOT NULL)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS reminder_snoozes_due ON reminder_snoozes(due)"),
    };
}
