#include "store/repetition.h"

#include "core/apperror.h"
#include "core/wallclock.h"

#include <libical/ical.h>

#include <QCoreApplication>
#include <memory>

namespace {

const QString kDaily = QStringLiteral("daily");
const QString kWeekdays = QStringLiteral("weekdays");
const QString kWeekly = QStringLiteral("weekly");
const QString kMonthly = QStringLiteral("monthly");
const QString kYearly = QStringLiteral("yearly");

// A series with more exceptions in a row than this is taken as ended rather than searched for ever.
constexpr int kLongestSearch = 1000000;

struct IteratorFree
{
    void operator()(icalrecur_iterator *iterator) const { icalrecur_iterator_free(iterator); }
};
using RecurrenceIterator = std::unique_ptr<icalrecur_iterator, IteratorFree>;

icaltimetype floatingTime(const QDateTime &wall)
{
    icaltimetype value = icaltime_null_time();
    value.year = wall.date().year();
    value.month = wall.date().month();
    value.day = wall.date().day();
    value.hour = wall.time().hour();
    value.minute = wall.time().minute();
    value.second = wall.time().second();
    return value;
}

icalrecurrencetype calendarRecurrence(const QString &rule)
{
    QString text = rule.trimmed();
    if (text.startsWith(QStringLiteral("RRULE:"), Qt::CaseInsensitive))
        text = text.mid(6);
    return icalrecurrencetype_from_string(text.toUtf8().constData());
}

// The k-th date of one of the program's own kinds; QDate's month and year steps keep to the month's last day.
QDate ownDate(const QString &rule, const QDate &start, qint64 k)
{
    if (rule == kWeekly)
        return start.addDays(7 * k);
    if (rule == kMonthly)
        return start.addMonths(int(k));
    if (rule == kYearly)
        return start.addYears(int(k));
    return start.addDays(k);
}

// How many steps of the kind lie surely before `after`, so that the search starts close to it.
qint64 stepsBefore(const QString &rule, const QDate &start, const QDate &after)
{
    const qint64 days = start.daysTo(after);
    qint64 steps = days;
    if (rule == kWeekly)
        steps = days / 7;
    else if (rule == kMonthly)
        steps = (after.year() - start.year()) * 12 + after.month() - start.month();
    else if (rule == kYearly)
        steps = after.year() - start.year();
    return qMax<qint64>(0, steps - 1);
}

QString weekdayName(int dayOfWeek)
{
    static const char *const names[] = {QT_TRANSLATE_NOOP("Repetition", "一"), QT_TRANSLATE_NOOP("Repetition", "二"),
                                        QT_TRANSLATE_NOOP("Repetition", "三"), QT_TRANSLATE_NOOP("Repetition", "四"),
                                        QT_TRANSLATE_NOOP("Repetition", "五"), QT_TRANSLATE_NOOP("Repetition", "六"),
                                        QT_TRANSLATE_NOOP("Repetition", "日")};
    return QCoreApplication::translate("Repetition", names[dayOfWeek - 1]);
}

} // namespace

QString Repetition::ruleOf(const QString &written)
{
    const QString name = written.trimmed().toLower();
    for (const QString &kind : {kDaily, kWeekdays, kWeekly, kMonthly, kYearly}) {
        if (name == kind)
            return kind;
    }
    icalrecurrencetype recurrence = calendarRecurrence(written);
    if (recurrence.freq == ICAL_NO_RECURRENCE)
        throw AppError(QCoreApplication::translate("Repetition", "重复规则“%1”无效").arg(written));
    char *text = icalrecurrencetype_as_string_r(&recurrence);
    const QString rule = QString::fromUtf8(text);
    icalmemory_free_buffer(text);
    return rule;
}

bool Repetition::isOwnKind() const
{
    return rule == kDaily || rule == kWeekdays || rule == kWeekly || rule == kMonthly || rule == kYearly;
}

QDateTime Repetition::nextAfter(const QDateTime &after) const
{
    if (isOwnKind()) {
        const qint64 first = stepsBefore(rule, start.date(), after.date());
        for (qint64 k = first; k < first + kLongestSearch; ++k) {
            const QDateTime occurrence = WallClock::at(ownDate(rule, start.date(), k), start.time());
            if (rule == kWeekdays && occurrence.date().dayOfWeek() > 5)
                continue;
            if (occurrence > after && !exceptions.contains(occurrence))
                return occurrence;
        }
        return {};
    }
    const icalrecurrencetype recurrence = calendarRecurrence(rule);
    if (recurrence.freq == ICAL_NO_RECURRENCE)
        return {};
    const RecurrenceIterator iterator(icalrecur_iterator_new(recurrence, floatingTime(start)));
    if (!iterator)
        return {};
    // Straight to `after` instead of through every occurrence since the start, years of them for an old
    // series; a rule that ends by a count has to be counted from its start.
    if (after > start && recurrence.count == 0)
        icalrecur_iterator_set_start(iterator.get(), floatingTime(after));
    for (int i = 0; i < kLongestSearch; ++i) {
        const icaltimetype next = icalrecur_iterator_next(iterator.get());
        if (icaltime_is_null_time(next))
            return {};
        const QDateTime occurrence =
            WallClock::at(QDate(next.year, next.month, next.day), QTime(next.hour, next.minute, next.second));
        if (occurrence > after && !exceptions.contains(occurrence))
            return occurrence;
    }
    return {};
}

QString Repetition::calendarRule() const
{
    const QDate day = start.date();
    if (rule == kDaily)
        return QStringLiteral("FREQ=DAILY");
    if (rule == kWeekdays)
        return QStringLiteral("FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR");
    if (rule == kWeekly)
        return QStringLiteral("FREQ=WEEKLY");
    // The last day of a shorter month, in RFC 5545's words: the day itself, else the month's last.
    if (rule == kMonthly) {
        return day.day() > 28 ? QStringLiteral("FREQ=MONTHLY;BYMONTHDAY=%1,-1;BYSETPOS=1").arg(day.day())
                              : QStringLiteral("FREQ=MONTHLY");
    }
    // In the order libical writes its parts, so that the rule read back from a calendar is the same text.
    if (rule == kYearly) {
        return day.month() == 2 && day.day() == 29 ? QStringLiteral("FREQ=YEARLY;BYMONTHDAY=29,-1;BYMONTH=2;BYSETPOS=1")
                                                   : QStringLiteral("FREQ=YEARLY");
    }
    return rule;
}

QString Repetition::label() const
{
    const QDate day = start.date();
    if (rule == kDaily)
        return QCoreApplication::translate("Repetition", "每天");
    if (rule == kWeekdays)
        return QCoreApplication::translate("Repetition", "工作日");
    if (rule == kWeekly)
        return QCoreApplication::translate("Repetition", "每周") + weekdayName(day.dayOfWeek());
    if (rule == kMonthly)
        return QCoreApplication::translate("Repetition", "每月%1日").arg(day.day());
    if (rule == kYearly)
        return QCoreApplication::translate("Repetition", "每年%1月%2日").arg(day.month()).arg(day.day());
    return QCoreApplication::translate("Repetition", "按规则重复");
}
