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
// twice; the series it kept as rules, by UID, with the reminder each made and a digest of what the event said
// when it came (reminderFingerprint()), so that a series changed in the file changes its reminder when the
// file comes in again; and the file's calendar id, one random value that export puts in its UIDs, so that
// exports of two files never name the same event.
inline QStringList calendarTableStatements()
{
    return {
        QStringLiteral("CREATE TABLE IF NOT EXISTS ics_imports(uid TEXT NOT NULL, start TEXT NOT NULL,"
                       " PRIMARY KEY(uid, start)) WITHOUT ROWID"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS ics_series(uid TEXT PRIMARY KEY, reminder INTEGER NOT NULL,"
                       " fingerprint TEXT NOT NULL)"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS orvane_calendar(id TEXT NOT NULL)"),
    };
}

// The sync with a CalDAV calendar, made when first needed: the calendar (its address, the sync token of the
// last pass, and whether the server lists by ETags alone), and per event the reminder it is (none for an
// event that makes no reminder here), where it lies on the server, the ETag of the version last seen, and the
// reminder's fields when both sides last agreed, so that changes made to 日程提醒 by any program show, and the
// event's text as last seen, so that a change made here keeps what other programs keep in the event.
inline QStringList syncTableStatements()
{
    return {
        QStringLiteral("CREATE TABLE IF NOT EXISTS sync_calendar(url TEXT NOT NULL, sync_token TEXT NOT NULL,"
                       " etags_only INTEGER NOT NULL)"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS sync_events(uid TEXT PRIMARY KEY, reminder_id INTEGER,"
                       " href TEXT NOT NULL UNIQUE, etag TEXT NOT NULL, fingerprint TEXT NOT NULL, ics TEXT NOT NULL)"),
    };
}

// The program's own table of repeating reminders: the rule of a row of 日程提醒 (by its rowid), the series'
// first occurrence and its exceptions (canonical times, comma-separated). The row itself always holds the
// next occurrence, so that what reads 日程提醒 alone sees it; made when a first rule is kept.
inline QStringList repeatTableStatements()
{
    return {
        QStringLiteral("CREATE TABLE IF NOT EXISTS reminder_repeats(row INTEGER PRIMARY KEY, rule TEXT NOT NULL,"
                       " start TEXT NOT NULL, exceptions TEXT NOT NULL DEFAULT '')"),
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
