#include "cli/icsevent.h"

#include "cli/inputerror.h"
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

EventConverter::~EventConverter()
{
    for (icaltimezone *zone : std::as_const(m_zones))
        icaltimezone_free(zone, 1);
}

void EventConverter::addTimeZone(IcalComponent timeZone)
{
    icalproperty *id = icalcomponent_get_first_property(timeZone.get(), ICAL_TZID_PROPERTY);
    const QByteArray tzid = id ? QByteArray(icalproperty_get_tzid(id)) : QByteArray();
    if (tzid.isEmpty())
        return;
    icaltimezone *zone = icaltimezone_new();
    // The zone owns its component from here on.
    if (!icaltimezone_set_component(zone, timeZone.release())) {
        icaltimezone_free(zone, 1);
        return;
    }
    if (icaltimezone *before = m_zones.value(tzid))
        icaltimezone_free(before, 1);
    m_zones.insert(tzid, zone);
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
    if (icaltimezone *own = m_zones.value(tzid)) {
        zone.kind = Zone::Ical;
        zone.ical = own;
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
    const QDateTime start = spelled(startValue);
    if (!start.isValid()) {
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

    // The reminder's offset from each occurrence's start: the first alarm's trigger, else none (09:00 for a day).
    qint64 offset = allDay ? kAllDayReminderSeconds : 0;
    icalcomponent *alarm = icalcomponent_get_first_component(event, ICAL_VALARM_COMPONENT);
    if (icalproperty *trigger = alarm ? icalcomponent_get_first_property(alarm, ICAL_TRIGGER_PROPERTY) : nullptr) {
        const icaltriggertype value = icalproperty_get_trigger(trigger);
        if (!icaltime_is_null_time(value.time)) {
            Zone at;
            at.kind = icaltime_is_utc(value.time) ? Zone::Utc : Zone::Floating;
            offset = zone.instant(start).secsTo(at.instant(spelled(value.time)));
        } else {
            offset = icaldurationtype_as_int(value.duration);
            icalparameter *related = icalproperty_get_first_parameter(trigger, ICAL_RELATED_PARAMETER);
            if (related && icalparameter_get_related(related) == ICAL_RELATED_END) {
                qint64 length = allDay ? 86400 : 0;
                if (icalproperty *end = icalcomponent_get_first_property(event, ICAL_DTEND_PROPERTY)) {
                    const icaltimetype endValue = icalproperty_get_dtend(end);
                    const Zone endZone = zoneOf(end, endValue);
                    if (endZone.kind != Zone::Unknown && spelled(endValue).isValid())
                        length = zone.instant(start).secsTo(endZone.instant(spelled(endValue)));
                } else if (icalproperty *duration = icalcomponent_get_first_property(event, ICAL_DURATION_PROPERTY)) {
                    length = icaldurationtype_as_int(icalproperty_get_duration(duration));
                }
                offset += length;
            }
        }
    }

    icalproperty *uidProperty = icalcomponent_get_first_property(event, ICAL_UID_PROPERTY);
    QString uid = uidProperty ? QString::fromUtf8(icalproperty_get_uid(uidProperty)) : QString();
    if (uid.isEmpty()) {
        // Without a UID the event is known by what it says.
        uid = QStringLiteral("sha1:")
              + QString::fromLatin1(
                  QCryptographicHash::hash((result.subject + u'\n' + content).toUtf8(), QCryptographicHash::Sha1)
                      .toHex());
    }
    const QString zoneName = zone.kind == Zone::Floating || zone.kind == Zone::Utc ? QString() : zone.name;
    const auto add = [&](const QDateTime &written, const QString &key) {
        EventReminder &made = result.reminders.emplace_back();
        made.reminder.subject = result.subject;
        made.reminder.content = content;
        made.reminder.due = allDay ? written.addSecs(offset) : zone.local(written, offset);
        made.reminder.day = made.reminder.due.date();
        made.uid = uid;
        made.start = zoneName.isEmpty() ? key : zoneName + u':' + key;
    };

    icalproperty *rule = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY);
    if (!rule) {
        // A moved occurrence of a recurring event takes the place of the one it replaces.
        icalproperty *replaced = icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY);
        add(start, writtenForm(replaced ? icalproperty_get_recurrenceid(replaced) : startValue));
        return result;
    }

    result.recurring = true;
    const icalrecurrencetype recurrence = icalproperty_get_rrule(rule);
    const IcalTimeKind startKind = allDay ? IcalTimeKind::Date : IcalTimeKind::Floating;
    icalrecur_iterator *steps = icalrecur_iterator_new(recurrence, icalTimeOf(start, startKind));
    if (!steps) {
        result.problem = QStringLiteral("its RRULE cannot be used");
        return result;
    }
    const QDateTime windowEnd = m_now.addDays(kWindowDays);
    const auto localStart = [&](const QDateTime &written) { return allDay ? written : zone.local(written); };
    // Rules with COUNT are counted from DTSTART; the others can start at the window.
    if (recurrence.count == 0 && localStart(start) < m_now) {
        const QDateTime from = allDay ? m_now : zone.written(m_now);
        if (from.isValid())
            icalrecur_iterator_set_start(steps, icalTimeOf(from, startKind));
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
    for (int step = 0; step < kMostSteps; ++step) {
        const icaltimetype value = icalrecur_iterator_next(steps);
        const QDateTime written = spelled(value);
        if (!written.isValid())
            break;
        const QDateTime at = localStart(written);
        if (at > windowEnd)
            break;
        if (at < m_now || excluded.contains(allDay ? WallClock::at(at.date()) : at))
            continue;
        if (result.reminders.size() == kMostOccurrences) {
            result.capped = true;
            break;
        }
        add(written, writtenForm(value));
    }
    icalrecur_iterator_free(steps);
    return result;
}
