#include "calendar/icsevent.h"

#include "calendar/inputerror.h"
#include "core/text.h"
#include "core/wallclock.h"

#include <QCryptographicHash>
#include <QSet>
#include <QTimeZone>

namespace {

constexpr int kWindowDays = 366;
constexpr int kAllDayReminderSeconds = 9 * 3600;

// The date and time that `value` spells, as written; invalid when it names no real date and time.
QDateTime spelled(const icaltimetype &value)
{
    if (icaltime_is_null_time(value))
        return {};
    const QDate date(value.year, value.month, value.day);
    const QTime time = value.is_date ? QTime(0, 0) : QTime(value.hour, value.minute, value.second);
    if (!date.isValid() || !time.isValid())
        return {};
    return WallClock::at(date, time);
}

QString textOf(icalcomponent *event, icalproperty_kind kind)
{
    icalproperty *property = icalcomponent_get_first_property(event, kind);
    const char *text = property ? icalvalue_get_text(icalproperty_get_value(property)) : nullptr;
    return text ? QString::fromUtf8(text) : QString();
}

QString writtenForm(const icaltimetype &value)
{
    return QString::fromUtf8(takeIcalText(icaltime_as_ical_string_r(value)));
}

// A duration in seconds, with 64 bits: an alarm 70 years early is a real value.
qint64 secondsOf(const icaldurationtype &duration)
{
    const qint64 seconds = ((qint64(duration.weeks) * 7 + duration.days) * 24 + duration.hours) * 3600
                           + qint64(duration.minutes) * 60 + duration.seconds;
    return duration.is_neg ? -seconds : seconds;
}

QString uidText(icalcomponent *event)
{
    icalproperty *property = icalcomponent_get_first_property(event, ICAL_UID_PROPERTY);
    return property ? QString::fromUtf8(icalproperty_get_uid(property)) : QString();
}

// The event's UID; without one the event is known by what it says.
QString uidOf(icalcomponent *event, const QString &subject, const QString &content)
{
    const QString uid = uidText(event);
    if (!uid.isEmpty())
        return uid;
    const QByteArray said = (subject + u'\n' + content).toUtf8();
    return QStringLiteral("sha1:")
           + QString::fromLatin1(QCryptographicHash::hash(said, QCryptographicHash::Sha1).toHex());
}

} // namespace

// The time zone in which a property's date-times are written.
class EventConverter::Zone
{
public:
    enum Kind { Floating, Utc, Ical, System, Unknown };

    Kind kind = Floating;
    icaltimezone *ical = nullptr;
    QTimeZone system;
    QString name; // the TZID, for the key and messages

    // The instant that `written` (a wall-clock in this zone) names; floating times are local time.
    QDateTime instant(const QDateTime &written) const
    {
        switch (kind) {
        case Utc:
            return written;
        case Ical:
            return QDateTime::fromSecsSinceEpoch(
                icaltime_as_timet_with_zone(icalTimeOf(written, IcalTimeKind::Floating), ical), Qt::UTC);
        case System:
            return QDateTime(written.date(), written.time(), system);
        case Floating:
        case Unknown:
            break;
        }
        return QDateTime(written.date(), written.time(), Qt::LocalTime);
    }

    // `written` moved by `seconds`, as a local wall-clock.
    QDateTime local(const QDateTime &written, qint64 seconds = 0) const
    {
        // Floating times stay as written, so that no daylight-saving change moves them.
        if (kind == Floating)
            return written.addSecs(seconds);
        return WallClock::of(instant(written).addSecs(seconds));
    }

    // The wall-clock in this zone of a local wall-clock.
    QDateTime written(const QDateTime &localWall) const
    {
        if (kind == Floating)
            return localWall;
        const QDateTime at(localWall.date(), localWall.time(), Qt::LocalTime);
        QDateTime there;
        switch (kind) {
        case Ical: {
            const icaltimetype value = icaltime_from_timet_with_zone(at.toSecsSinceEpoch(), 0, ical);
            return spelled(value);
        }
        case System:
            there = at.toTimeZone(system);
            break;
        default:
            there = at.toUTC();
        }
        return WallClock::at(there.date(), there.time());
    }
};

EventConverter::EventConverter(const QDateTime &now)
    : m_now(WallClock::at(now.date(), now.time()))
{
}

void EventConverter::addTimeZone(IcalComponent timeZone)
{
    icalproperty *id = icalcomponent_get_first_property(timeZone.get(), ICAL_TZID_PROPERTY);
    const QByteArray tzid = id ? QByteArray(icalproperty_get_tzid(id)) : QByteArray();
    if (tzid.isEmpty())
        return;
    IcalTimeZone zone(icaltimezone_new());
    if (!icaltimezone_set_component(zone.get(), timeZone.get()))
        return;
    // The zone owns its component from here on.
    timeZone.release();
    m_zones[tzid] = std::move(zone);
}

EventConverter::Zone EventConverter::zoneOf(icalproperty *property, const icaltimetype &value) const
{
    Zone zone;
    if (icaltime_is_utc(value)) {
        zone.kind = Zone::Utc;
        return zone;
    }
    icalparameter *parameter = icalproperty_get_first_parameter(property, ICAL_TZID_PARAMETER);
    if (!parameter)
        return zone;
    const QByteArray tzid(icalparameter_get_tzid(parameter));
    zone.name = QString::fromUtf8(tzid);
    if (const auto own = m_zones.find(tzid); own != m_zones.end()) {
        zone.kind = Zone::Ical;
        zone.ical = own->second.get();
        return zone;
    }
    // An IANA name, a Windows name, or an IANA name behind a publisher's prefix ("/mozilla.org/…/Europe/Berlin").
    QList<QByteArray> names{tzid, QTimeZone::windowsIdToDefaultIanaId(tzid)};
    const QList<QByteArray> parts = tzid.split('/');
    if (parts.size() > 2) {
        names << parts.mid(parts.size() - 2).join('/') << parts.mid(parts.size() - 3).join('/');
    }
    for (const QByteArray &name : std::as_const(names)) {
        if (!name.isEmpty() && QTimeZone::isTimeZoneIdAvailable(name)) {
            zone.kind = Zone::System;
            zone.system = QTimeZone(name);
            return zone;
        }
    }
    zone.kind = Zone::Unknown;
    return zone;
}

EventReminders EventConverter::convert(icalcomponent *event) const
{
    EventReminders result;
    result.subject = withoutOuterSpacesAndControls(textOf(event, ICAL_SUMMARY_PROPERTY));
    QString content = textOf(event, ICAL_DESCRIPTION_PROPERTY);
    if (content.isNull())
        content = QLatin1String("");
    icalproperty *status = icalcomponent_get_first_property(event, ICAL_STATUS_PROPERTY);
    icalproperty *startProperty = icalcomponent_get_first_property(event, ICAL_DTSTART_PROPERTY);
    if (status && icalproperty_get_status(status) == ICAL_STATUS_CANCELLED) {
        result.problem = QStringLiteral("it is cancelled");
        return result;
    }
    if (result.subject.isEmpty()) {
        result.problem = QStringLiteral("it has no SUMMARY");
        return result;
    }
    if (result.subject.toUtf8().size() > kLongestText || content.toUtf8().size() > kLongestText) {
        result.problem = QStringLiteral("its SUMMARY or DESCRIPTION is longer than 1 MB");
        return result;
    }
    if (!startProperty) {
        result.problem = QStringLiteral("it has no usable DTSTART");
        return result;
    }
    const icaltimetype startValue = icalproperty_get_dtstart(startProperty);
    if (!spelled(startValue).isValid()) {
        result.problem = QStringLiteral("its DTSTART %1 is no real date and time").arg(writtenForm(startValue));
        return result;
    }
    const bool allDay = startValue.is_date;
    Zone zone;
    if (!allDay)
        zone = zoneOf(startProperty, startValue);
    if (zone.kind == Zone::Unknown) {
        result.problem = QStringLiteral("its time zone '%1' is unknown").arg(zone.name);
        result.unknownZone = true;
        return result;
    }

    const qint64 offset = alarmOffset(event, startValue, zone);
    const QString uid = uidOf(event, result.subject, content);
    const QString zoneName = zone.kind == Zone::Floating || zone.kind == Zone::Utc ? QString() : zone.name;
    const QDateTime start = spelled(startValue);
    const auto add = [&](const QDateTime &due, const QString &key) -> EventReminder & {
        EventReminder &made = result.reminders.emplace_back();
        made.reminder.subject = result.subject;
        made.reminder.content = content;
        made.reminder.due = due;
        made.reminder.day = due.date();
        made.uid = uid;
        made.start = key;
        return made;
    };
    if (icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY)) {
        // Looked at aside: when the rule is expanded instead, its occurrences tell their own problems.
        EventReminders firstMade;
        const QDateTime first = reminderTime(start, allDay, zone, offset, firstMade);
        if (first.isValid() && keepsRule(event, startValue, zone, first)) {
            result.recurring = true;
            result.rounded = firstMade.rounded;
            const std::optional<Repetition> series = seriesOf(event, startValue, zone, first, result);
            if (!series)
                return result;
            // The occurrence at this very second is still to come.
            const QDateTime next = series->nextAfter(m_now.addSecs(-1));
            if (!next.isValid())
                result.ended = true;
            else
                add(next, EventReminder::kSeries).repetition = series;
            return result;
        }
    }
    for (const Occurrence &occurrence : occurrences(event, startValue, zone, result)) {
        const QDateTime due = reminderTime(occurrence.written, allDay, zone, offset, result);
        if (!due.isValid()) {
            result.reminders.clear();
            return result;
        }
        add(due, zoneName.isEmpty() ? occurrence.key : zoneName + u':' + occurrence.key);
    }
    return result;
}

QDateTime EventConverter::reminderTime(const QDateTime &written, bool allDay, const Zone &zone, qint64 offset,
                                       EventReminders &made) const
{
    QDateTime due = allDay ? written.addSecs(offset) : zone.local(written, offset);
    if (!due.isValid() || due.date().year() < 1 || due.date().year() > 9999) {
        made.problem = QStringLiteral("its reminder for %1 falls outside the years 1 to 9999")
                           .arg(written.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
        return {};
    }
    if (due.time().second() != 0) {
        due = due.addSecs(-due.time().second());
        ++made.rounded;
    }
    return due;
}

bool EventConverter::keepsRule(icalcomponent *event, const icaltimetype &startValue, const Zone &zone,
                               const QDateTime &first) const
{
    icalproperty *rule = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY);
    // An override that repeats on from its occurrence has no row of its own to hold its rule under the UID.
    if (icalcomponent_get_next_property(event, ICAL_RRULE_PROPERTY)
        || icalcomponent_get_first_property(event, ICAL_RDATE_PROPERTY) || isOverride(event)) {
        return false;
    }
    const icalrecurrencetype recurrence = icalproperty_get_rrule(rule);
    if (recurrence.freq == ICAL_NO_RECURRENCE)
        return false;
    if (!startValue.is_date && !followsLocalClock(zone))
        return false;
    // A rule that names days, or hours, names them as the file writes the event.
    const auto names = [](const short *values) { return values[0] != ICAL_RECURRENCE_ARRAY_MAX; };
    const QDateTime start = spelled(startValue);
    const bool namesDays = names(recurrence.by_day) || names(recurrence.by_month_day) || names(recurrence.by_year_day)
                           || names(recurrence.by_week_no) || names(recurrence.by_month)
                           || names(recurrence.by_set_pos);
    const bool namesTimes = names(recurrence.by_hour) || names(recurrence.by_minute) || names(recurrence.by_second);
    return !(namesDays && first.date() != start.date()) && !(namesTimes && first.time() != start.time());
}

bool EventConverter::followsLocalClock(const Zone &zone) const
{
    if (zone.kind == Zone::Floating)
        return true;
    const QString key = QString::number(zone.kind) + u':' + zone.name;
    if (const auto known = m_followsLocal.constFind(key); known != m_followsLocal.constEnd())
        return *known;
    const qint64 apart = zone.written(m_now).secsTo(m_now);
    bool follows = true;
    for (int day = 1; follows && day <= kWindowDays; ++day) {
        const QDateTime at = m_now.addDays(day);
        follows = zone.written(at).secsTo(at) == apart;
    }
    m_followsLocal.insert(key, follows);
    return follows;
}

std::optional<Repetition> EventConverter::seriesOf(icalcomponent *event, const icaltimetype &startValue,
                                                   const Zone &zone, const QDateTime &first, EventReminders &made) const
{
    const bool allDay = startValue.is_date;
    const auto local = [&](const QDateTime &written) { return allDay ? written : zone.local(written); };
    // Every occurrence's reminder lies as far from it on the desk's clock as the first one's does.
    const qint64 shift = local(spelled(startValue)).secsTo(first);
    icalrecurrencetype recurrence =
        icalproperty_get_rrule(icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY));
    if (const icaltimetype until = recurrence.until; !icaltime_is_null_time(until)) {
        QDateTime last;
        if (icaltime_is_utc(until))
            last = WallClock::of(QDateTime(spelled(until).date(), spelled(until).time(), Qt::UTC));
        else if (until.is_date && !allDay)
            last = zone.local(WallClock::at(spelled(until).date(), QTime(23, 59, 59)));
        else
            last = local(spelled(until));
        if (!last.isValid()) {
            made.problem = QStringLiteral("its UNTIL %1 is no real date and time").arg(writtenForm(until));
            return std::nullopt;
        }
        recurrence.until = icalTimeOf(last.addSecs(shift), IcalTimeKind::Floating);
    }
    Repetition series{QString::fromUtf8(takeIcalText(icalrecurrencetype_as_string_r(&recurrence))), first, {}};
    for (icalproperty *exception = icalcomponent_get_first_property(event, ICAL_EXDATE_PROPERTY); exception;
         exception = icalcomponent_get_next_property(event, ICAL_EXDATE_PROPERTY)) {
        const QDateTime key = occurrenceKey(exception, icalproperty_get_exdate(exception), allDay);
        if (key.isValid())
            series.exceptions.append(key.addSecs(shift));
    }
    for (const QDateTime &key : m_replaced.value(uidText(event)))
        series.exceptions.append((allDay ? WallClock::at(key.date()) : key).addSecs(shift));
    return series;
}

qint64 EventConverter::alarmOffset(icalcomponent *event, const icaltimetype &startValue, const Zone &zone) const
{
    const bool allDay = startValue.is_date;
    icalcomponent *alarm = icalcomponent_get_first_component(event, ICAL_VALARM_COMPONENT);
    icalproperty *trigger = alarm ? icalcomponent_get_first_property(alarm, ICAL_TRIGGER_PROPERTY) : nullptr;
    if (!trigger)
        return allDay ? kAllDayReminderSeconds : 0;
    const QDateTime start = spelled(startValue);
    const icaltriggertype value = icalproperty_get_trigger(trigger);
    if (!icaltime_is_null_time(value.time)) {
        Zone at;
        at.kind = icaltime_is_utc(value.time) ? Zone::Utc : Zone::Floating;
        return zone.instant(start).secsTo(at.instant(spelled(value.time)));
    }
    qint64 offset = secondsOf(value.duration);
    icalparameter *related = icalproperty_get_first_parameter(trigger, ICAL_RELATED_PARAMETER);
    if (!related || icalparameter_get_related(related) != ICAL_RELATED_END)
        return offset;
    qint64 length = allDay ? 86400 : 0;
    if (icalproperty *end = icalcomponent_get_first_property(event, ICAL_DTEND_PROPERTY)) {
        const icaltimetype endValue = icalproperty_get_dtend(end);
        const Zone endZone = zoneOf(end, endValue);
        if (endZone.kind != Zone::Unknown && spelled(endValue).isValid())
            length = zone.instant(start).secsTo(endZone.instant(spelled(endValue)));
    } else if (icalproperty *duration = icalcomponent_get_first_property(event, ICAL_DURATION_PROPERTY)) {
        length = secondsOf(icalproperty_get_duration(duration));
    }
    return offset + length;
}

bool EventConverter::isRecurring(icalcomponent *event)
{
    return icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY)
           || icalcomponent_get_first_property(event, ICAL_RDATE_PROPERTY);
}

bool EventConverter::isOverride(icalcomponent *event)
{
    return icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY);
}

void EventConverter::addOverride(icalcomponent *event)
{
    icalproperty *replaced = icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY);
    const icaltimetype value = icalproperty_get_recurrenceid(replaced);
    const QDateTime key = occurrenceKey(replaced, value, value.is_date);
    if (key.isValid())
        m_replaced[uidText(event)].append(key);
}

QDateTime EventConverter::occurrenceKey(icalproperty *property, const icaltimetype &value, bool allDay) const
{
    if (value.is_date || allDay)
        return WallClock::at(QDate(value.year, value.month, value.day));
    const Zone zone = zoneOf(property, value);
    if (!spelled(value).isValid() || zone.kind == Zone::Unknown)
        return {};
    return zone.local(spelled(value));
}

QList<EventConverter::Occurrence> EventConverter::occurrences(icalcomponent *event, const icaltimetype &startValue,
                                                              const Zone &zone, EventReminders &made) const
{
    const QDateTime start = spelled(startValue);
    if (!isRecurring(event)) {
        // A moved occurrence of a recurring event is kept under the occurrence it replaces.
        icalproperty *replaced = icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY);
        return {{start, writtenForm(replaced ? icalproperty_get_recurrenceid(replaced) : startValue)}};
    }

    made.recurring = true;
    const bool allDay = startValue.is_date;
    QList<Occurrence> found;
    if (icalproperty *rule = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY))
        found = ruleOccurrences(rule, startValue, zone, made);
    else
        found.append({start, writtenForm(startValue)});
    for (icalproperty *added = icalcomponent_get_first_property(event, ICAL_RDATE_PROPERTY); added;
         added = icalcomponent_get_next_property(event, ICAL_RDATE_PROPERTY)) {
        const icaldatetimeperiodtype date = icalproperty_get_rdate(added);
        icaltimetype value = icaltime_is_null_time(date.time) ? date.period.start : date.time;
        if (allDay)
            value.is_date = 1;
        const Zone addedZone = zoneOf(added, value);
        if (!spelled(value).isValid() || addedZone.kind == Zone::Unknown)
            continue;
        // As written in the event's zone, where the alarm's offset applies.
        const QDateTime written =
            allDay || addedZone.name == zone.name ? spelled(value) : zone.written(addedZone.local(spelled(value)));
        found.append({written, writtenForm(icalTimeOf(written, allDay ? IcalTimeKind::Date : IcalTimeKind::Floating))});
    }

    QSet<QDateTime> excluded;
    for (icalproperty *exception = icalcomponent_get_first_property(event, ICAL_EXDATE_PROPERTY); exception;
         exception = icalcomponent_get_next_property(event, ICAL_EXDATE_PROPERTY)) {
        excluded.insert(occurrenceKey(exception, icalproperty_get_exdate(exception), allDay));
    }
    for (const QDateTime &key : m_replaced.value(uidText(event)))
        excluded.insert(allDay ? WallClock::at(key.date()) : key);
    const QDateTime windowEnd = m_now.addDays(kWindowDays);
    QList<Occurrence> kept;
    for (const Occurrence &occurrence : std::as_const(found)) {
        const QDateTime at = allDay ? occurrence.written : zone.local(occurrence.written);
        if (at < m_now || at > windowEnd || excluded.contains(allDay ? WallClock::at(at.date()) : at))
            continue;
        if (kept.size() == kMostOccurrences) {
            made.capped = true;
            break;
        }
        kept.append(occurrence);
    }
    return kept;
}

QList<EventConverter::Occurrence> EventConverter::ruleOccurrences(icalproperty *rule, const icaltimetype &startValue,
                                                                  const Zone &zone, EventReminders &made) const
{
    const QDateTime start = spelled(startValue);
    const bool allDay = startValue.is_date;
    icalrecurrencetype recurrence = icalproperty_get_rrule(rule);
    // libical would compare UNTIL with a start that it holds without its zone: the end is compared here, as
    // the moment it is when it is in UTC, else as written in the event's zone.
    const icaltimetype until = recurrence.until;
    recurrence.until = icaltime_null_time();
    const bool untilIsMoment = !icaltime_is_null_time(until) && icaltime_is_utc(until) && !allDay;
    const QDateTime untilMoment =
        untilIsMoment ? QDateTime(spelled(until).date(), spelled(until).time(), Qt::UTC) : QDateTime();
    const QDateTime untilWritten = icaltime_is_null_time(until) || untilIsMoment ? QDateTime() : spelled(until);
    const auto pastUntil = [&](const QDateTime &written) {
        if (untilIsMoment)
            return zone.instant(written) > untilMoment;
        if (!untilWritten.isValid())
            return false;
        return until.is_date ? written.date() > untilWritten.date() : written > untilWritten;
    };

    const IcalTimeKind startKind = allDay ? IcalTimeKind::Date : IcalTimeKind::Floating;
    const IcalRecurrence steps(icalrecur_iterator_new(recurrence, icalTimeOf(start, startKind)));
    if (!steps) {
        made.problem = QStringLiteral("its RRULE cannot be used");
        return {};
    }
    const QDateTime windowEnd = m_now.addDays(kWindowDays);
    const auto localStart = [&](const QDateTime &written) { return allDay ? written : zone.local(written); };
    // Rules with COUNT are counted from DTSTART; the others can start at the window.
    if (recurrence.count == 0 && localStart(start) < m_now) {
        const QDateTime from = allDay ? m_now : zone.written(m_now);
        if (from.isValid())
            icalrecur_iterator_set_start(steps.get(), icalTimeOf(from, startKind));
    }
    QList<Occurrence> found;
    QDateTime last;
    for (int step = 0;; ++step) {
        if (step == kMostSteps) {
            made.cutAt = localStart(last);
            break;
        }
        const icaltimetype value = icalrecur_iterator_next(steps.get());
        const QDateTime written = spelled(value);
        if (!written.isValid() || pastUntil(written) || localStart(written) > windowEnd)
            break;
        last = written;
        if (localStart(written) >= m_now)
            found.append({written, writtenForm(value)});
        if (found.size() > kMostOccurrences)
            break;
    }
    return found;
}
