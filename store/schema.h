#pragma once

#include <QString>
#include <QStringList>

// The reminder table as the program reads and writes it.
inline QString reminderTable()
{
    return QStringLiteral("日程提醒");
}
inline QStringList reminderColumns()
{
    return {QStringLiteral("id"), QStringLiteral("主题"), QStringLiteral("内容"), QStringLiteral("时间"),
            QStringLiteral("日期")};
}
// The column whose values must name a real date and time.
inline QString dateTimeColumn()
{
    return QStringLiteral("时间");
}
