#include "store/textformats.h"

#include "core/wallclock.h"

#include <QLocale>
#include <QRegularExpression>

namespace {

// "yyyy-mm-dd hh:MM:ss" written by hand: QDateTime::toString reads its format anew on every call, which
// costs the due select more than its index lookup. Years without four digits are left to Qt.
QString storedForm(const QDate &date, const QTime &time)
{
    if (!date.isValid() || !time.isValid() || date.year() < 1 || date.year() > 9999)
        return WallClock::at(date, time).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    QString text = QStringLiteral("0000-00-00 00:00:00");
    const auto put = [out = text.data()](int at, int value, int count) {
        for (int i = at + count - 1; i >= at; --i, value /= 10)
            out[i] = QChar(char16_t(u'0' + value % 10));
    };
    put(0, date.year(), 4);
    put(5, date.month(), 2);
    put(8, date.day(), 2);
    put(11, time.hour(), 2);
    put(14, time.minute(), 2);
    put(17, time.second(), 2);
    return text;
}

// Days from 1970-01-01 to a date of the Gregorian calendar, year from 1 on (Howard Hinnant's
// days_from_civil): years are counted from 1 March, so that the leap day ends them.
qint64 daysSinceEpoch(int year, int month, int day)
{
    const int y = year - (month <= 2 ? 1 : 0);
    const int era = y / 400;
    const int yearOfEra = y - era * 400;
    const int dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1; // from 1 March
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return qint64(era) * 146097 + dayOfEra - 719468;
}

int daysInMonth(int year, int month)
{
    static constexpr int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && QDate::isLeapYear(year) ? 29 : days[month - 1];
}

// The number written with `count` digits from `from` on; -1 when one of them is not a digit.
template <typename Char> int digitsAt(const Char *text, int from, int count)
{
    int value = 0;
    for (int i = from; i < from + count; ++i) {
        const auto digit = unsigned(text[i]) - unsigned('0');
        if (digit > 9)
            return -1;
        value = value * 10 + int(digit);
    }
    return value;
}

// Reads a text already in the stored form "yyyy-mm-dd hh:MM:ss" without the general pattern and without
// QDate and QTime: every value read back from the table has this form, and the agenda reads hundreds of them
// in the time the engine takes to find them. Anything else, or a text that does not name a real date and
// time, gives an invalid result here.
template <typename Char> QDateTime fromStoredForm(const Char *text, qsizetype size)
{
    if (size != 19 || text[4] != '-' || text[7] != '-' || text[10] != ' ' || text[13] != ':' || text[16] != ':')
        return {};
    const int year = digitsAt(text, 0, 4);
    const int month = digitsAt(text, 5, 2);
    const int day = digitsAt(text, 8, 2);
    const int hour = digitsAt(text, 11, 2);
    const int minute = digitsAt(text, 14, 2);
    const int second = digitsAt(text, 17, 2);
    if (year < 1 || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month) || hour < 0 || hour > 23
        || minute < 0 || minute > 59 || second < 0 || second > 59)
        return {};
    // Wall-clock, as parseDateTimeText reads it.
    constexpr qint64 kMsecsPerDay = 86'400'000;
    return QDateTime::fromMSecsSinceEpoch(
        daysSinceEpoch(year, month, day) * kMsecsPerDay + ((hour * 60 + minute) * 60 + second) * 1000, Qt::UTC);
}

} // namespace

QString reminderDateText(const QDate &date)
{
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}

QString dueText(const QDateTime &now)
{
    const QTime time = now.time();
    return storedForm(now.date(), QTime(time.hour(), time.minute()));
}

QString canonicalDateTimeText(const QDateTime &value)
{
    return storedForm(value.date(), value.time());
}

QDateTime parseDateTimeText(const QString &text)
{
    const QDateTime stored = fromStoredForm(text.utf16(), text.size());
    if (stored.isValid())
        return stored;
    static const QRegularExpression form(QStringLiteral(
        R"(^\s*(\d{4})-(\d{1,2})-(\d{1,2})(?:[\sT]+(\d{1,2}):(\d{1,2})(?::(\d{1,2})(?:\.\d*)?)?)?\s*Z?\s*$)"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return {};
    const QDate date(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt());
    const QTime time(match.captured(4).toInt(), match.captured(5).toInt(), match.captured(6).toInt());
    if (!date.isValid() || !time.isValid())
        return {};
    return WallClock::at(date, time);
}

QDate parseDateText(const QString &text)
{
    if (text.size() == 10 && text.at(4) == u'-' && text.at(7) == u'-') {
        const ushort *chars = text.utf16();
        const int year = digitsAt(chars, 0, 4);
        // QDate takes negative years, which no stored text has.
        const QDate date = year > 0 ? QDate(year, digitsAt(chars, 5, 2), digitsAt(chars, 8, 2)) : QDate();
        if (date.isValid())
            return date;
    }
    return parseDateTimeText(text).date();
}

QDateTime parseDateTimeUtf8(QUtf8StringView text)
{
    const QDateTime stored = fromStoredForm(text.data(), text.size());
    if (stored.isValid() || text.isEmpty())
        return stored;
    return parseDateTimeText(QString::fromUtf8(text.data(), text.size()));
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
