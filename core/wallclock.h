#pragma once

#include <QDateTime>

// Reminders keep local wall-clock times as written, with no time zone: "2026-12-10 09:30:00" is half past
// nine on the desk's clock whatever the zone or daylight saving says. In a QDateTime that is Qt::UTC, which
// stands for "as written" here, so that no daylight-saving gap can shift or refuse a time. These are the
// only ways the program makes such values.
namespace WallClock {

// The date and time as written.
inline QDateTime at(const QDate &date, const QTime &time = QTime(0, 0))
{
    return QDateTime(date, time, Qt::UTC);
}

// What the local clock shows at `moment`.
inline QDateTime of(const QDateTime &moment)
{
    const QDateTime local = moment.toLocalTime();
    return at(local.date(), local.time());
}

// The minute that the local clock shows at `moment`, its seconds dropped.
inline QDateTime minuteOf(const QDateTime &moment)
{
    const QDateTime local = moment.toLocalTime();
    return at(local.date(), QTime(local.time().hour(), local.time().minute()));
}

} // namespace WallClock
