#include "store/textformats.h"

#include "core/clock.h"
#include "core/text.h"

#include <QLocale>
#include <QRegularExpression>

QString reminderDateText(const QDate &date)
{
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}

QString reminderTimeText(const QDate &date, const QString &timeEditText)
{
    return reminderDateText(date) + QLatin1Char(' ') + trimmed(timeEditText);
}

QString todayDateText(const Clock &clock)
{
    return reminderDateText(clock.now().date());
}

QString dueText(const Clock &clock)
{
    return clock.now().toString(QStringLiteral("yyyy-MM-dd HH:mm")) + QStringLiteral(":00");
}

QString canonicalDateTimeText(const QDateTime &value)
{
    return value.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QDateTime parseDateTimeText(const QString &text)
{
    static const QRegularExpression form(
        QStringLiteral(R"(^\s*(\d{4})-(\d{1,2})-(\d{1,2})(?:[ T](\d{1,2}):(\d{1,2})(?::(\d{1,2}))?)?\s*$)"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return {};
    const QDate date(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt());
    const QTime time(match.captured(4).toInt(), match.captured(5).toInt(), match.captured(6).toInt());
    if (!date.isValid() || !time.isValid())
        return {};
    // Wall-clock values: no time zone, so that no daylight-saving gap can shift or refuse them.
    return QDateTime(date, time, Qt::UTC);
}

QString regionalDateTimeText(const QDateTime &value)
{
    const QLocale locale = QLocale::system();
    QString text = locale.toString(value.date(), QLocale::ShortFormat);
    if (value.time() != QTime(0, 0)) {
        QString timeFormat = locale.timeFormat(QLocale::LongFormat);
        timeFormat.remove(QRegularExpression(QStringLiteral(R"(\s*\bt+\b\s*)")));
        text += QLatin1Char(' ') + locale.toString(value.time(), timeFormat.trimmed());
    }
    return text;
}
