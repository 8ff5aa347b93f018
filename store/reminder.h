#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

// One reminder: a row of the table 日程提醒.
struct Reminder
{
    qint64 id = 0;    // the store's key (id); 0 for a reminder that is not stored yet
    qint64 rowid = 0; // the row itself (SQLite's rowid): a key also for rows whose id is unusable
    QString subject;  // 主题; a null QString when the row holds no value there
    QString content;  // 内容; a null QString when the row holds no value there
    // 时间: the date and time as written, wall-clock, with no time zone (Qt::UTC stands for "as written", so
    // that no daylight-saving gap can shift or refuse it); invalid when the row's value names no date and time.
    QDateTime due;
    QDate day; // 日期; invalid when the row's value names no date
};
