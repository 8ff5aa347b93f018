#include "calendar/icsevent.h"

#include "calendar/inputerror.h"
#include "core/text.h"
#include "core/wallclock.h"

#include <QCryptographicHash>
#include <QSet>
#include <QTimeZone>

namespace {

constexpr int kWindowDays = 366;
// Rule steps looked at for one event, so that a rule of every second from long ago cannot hold the import.
constexpr int kMostSteps = 2'000'000;
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

// The event's UID; without one the event is known by what it says.
QString uidOf(icalcomponent *event, const QString &subject, const QString &content)
{
    icalproperty *property = icalcomponent_get_first_property(event, ICAL_UID_PROPERTY);
    const QString uid = property ? QString::fromUtf8(icalproperty_get_uid(property)) : QString();
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
    result.subject = trimmed(textOf(event, ICAL_SUMMARY_PROPERTY));
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
        return result;
    }

    const qint64 offset = alarmOffset(event, startValue, zone);
    const QString uid = uidOf(event, result.subject, content);
    const QString zoneName = zone.kind == Zone::Floating || zone.kind == Zone::Utc ? QString() : zone.name;
    for (const Occurrence &occurrence : occurrences(event, startValue, zone, result)) {
        EventReminder &made = result.reminders.emplace_back();
        made.reminder.subject = result.subject;
        made.reminder.content = content;
        made.reminder.due = allDay ? occurrence.written.addSecs(offset) : zone.local(occurrence.written, offset);
        made.reminder.day = made.reminder.due.date();
        made.uid = uid;
        made.start = zoneName.isEmpty() ? occurrence.key : zoneName + u':' + occurrence.key;
    }
    return result;
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
    qint64 offset = icaldurationtype_as_int(value.duration);
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
        length = icaldurationtype_as_int(icalproperty_get_duration(duration));
    }
    return offset + length;
}

QList<EventConverter::Occurrence> EventConverter::occurrences(icalcomponent *event, const icaltimetype &startValue,
                                                              const Zone &zone, EventReminders &made) const
{
    const QDateTime start = spelled(startValue);
    icalproperty *rule = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY);
    if (!rule) {
        // A moved occurrence of a recurring event takes the place of the one it replaces.
        icalproperty *replaced = icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY);
        return {{start, writtenForm(replaced ? icalproperty_get_recurrenceid(replaced) : startValue)}};
    }

    made.recurring = true;
    const bool allDay = startValue.is_date;
    const icalrecurrencetype recurrence = icalproperty_get_rrule(rule);
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
    QSet<QDateTime> excluded;
    for (icalproperty *exception = icalcomponent_get_first_property(event, ICAL_EXDATE_PROPERTY); exception;
         exception = icalcomponent_get_next_property(event, ICAL_EXDATE_PROPERTY)) {
        const icaltimetype value = icalproperty_get_exdate(exception);
        const Zone exceptionZone = zoneOf(exception, value);
        if (value.is_date || allDay)
            excluded.insert(WallClock::at(QDate(value.year, value.month, value.day)));
        else if (spelled(value).isValid() && exceptionZone.kind != Zone::Unknown)
            excluded.insert(exceptionZone.local(spelled(value)));
    }
    QList<Occurrence> found;
    for (int step = 0; step < kMostSteps; ++step) {
        const icaltimetype value = icalrecur_iterator_next(steps.get());
        const QDateTime written = spelled(value);
        if (!written.isValid())
            break;
        const QDateTime at = localStart(written);
        if (at > windowEnd)
            break;
        if (at < m_now || excluded.contains(allDay ? WallClock::at(at.date()) : at))
            continue;
        if (found.size() == kMostOccurrences) {
            made.capped = true;
            break;
        }
        found.append({written, writtenForm(value)});
    }
    return found;
}
