#include "calendar/calendarobject.h"

#include "calendar/icsevent.h"
#include "calendar/icsexport.h"
#include "calendar/icsreader.h"
#include "calendar/inputerror.h"
#include "core/text.h"

#include <QBuffer>

namespace {

// Moves the event's DTSTART or DTEND by `seconds`, in its own zone; false for a date that would move by less
// than days.
bool move(icalcomponent *event, icalproperty_kind kind, qint64 seconds)
{
    icalproperty *property = icalcomponent_get_first_property(event, kind);
    if (!property)
        return true;
    const bool start = kind == ICAL_DTSTART_PROPERTY;
    icaltimetype value = start ? icalproperty_get_dtstart(property) : icalproperty_get_dtend(property);
    if (icaltime_is_null_time(value) || (value.is_date && seconds % 86400 != 0))
        return false;
    icaltime_adjust(&value, int(seconds / 86400), 0, 0, int(seconds % 86400));
    if (start)
        icalproperty_set_dtstart(property, value);
    else
        icalproperty_set_dtend(property, value);
    return true;
}

void setText(icalcomponent *event, icalproperty_kind kind, const QString &text)
{
    while (icalproperty *old = icalcomponent_get_first_property(event, kind)) {
        icalcomponent_remove_property(event, old);
        icalproperty_free(old);
    }
    if (text.isEmpty())
        return;
    icalproperty *property = icalproperty_new(kind);
    icalproperty_set_value(property, icalvalue_new_text(text.toUtf8().constData()));
    icalcomponent_add_property(event, property);
}

} // namespace

CalendarObject readCalendarObject(const QByteArray &ics, const QDateTime &now)
{
    CalendarObject object;
    QByteArray body = ics;
    QBuffer input(&body);
    input.open(QIODevice::ReadOnly);
    EventConverter converter(now);
    IcalComponent event;
    try {
        IcsReader reader(input);
        while (std::optional<IcsReader::Part> part = reader.next()) {
            if (!part->component || !part->problem.isEmpty())
                continue;
            const icalcomponent_kind kind = icalcomponent_isa(part->component.get());
            if (kind == ICAL_VTIMEZONE_COMPONENT)
                converter.addTimeZone(std::move(part->component));
            else if (kind == ICAL_VEVENT_COMPONENT && !event && !EventConverter::isOverride(part->component.get()))
                event = std::move(part->component);
        }
    } catch (const InputError &error) {
        object.problem = error.message();
        return object;
    }
    if (!event) {
        object.problem = QStringLiteral("it holds no event");
        return object;
    }
    if (const char *uid = icalcomponent_get_uid(event.get()))
        object.uid = QString::fromUtf8(uid);
    if (EventConverter::isRecurring(event.get())) {
        object.problem = QStringLiteral("it repeats");
        return object;
    }
    const EventReminders made = converter.convert(event.get());
    if (!made.problem.isEmpty() || made.reminders.isEmpty())
        object.problem = made.problem.isEmpty() ? QStringLiteral("it makes no reminder") : made.problem;
    else
        object.reminder = made.reminders.first().reminder;
    return object;
}

QByteArray calendarObjectOf(const Reminder &reminder, const QString &uid, const QDateTime &stamp)
{
    return calendarHead() + eventText(reminder, nullptr, uid.toUtf8(), stamp) + "END:VCALENDAR\r\n";
}

QByteArray changedCalendarObject(const QByteArray &ics, const Reminder &reminder, const QDateTime &now)
{
    const CalendarObject before = readCalendarObject(ics, now);
    if (!before.reminder)
        return {};
    const IcalComponent calendar(icalparser_parse_string(ics.constData()));
    if (!calendar)
        return {};
    icalcomponent *event = icalcomponent_get_first_component(calendar.get(), ICAL_VEVENT_COMPONENT);
    while (event && EventConverter::isOverride(event))
        event = icalcomponent_get_next_component(calendar.get(), ICAL_VEVENT_COMPONENT);
    if (!event)
        return {};
    const qint64 moved = before.reminder->due.secsTo(reminder.due);
    if (!move(event, ICAL_DTSTART_PROPERTY, moved) || !move(event, ICAL_DTEND_PROPERTY, moved))
        return {};
    const QString subject = withLineFeeds(reminder.subject);
    // The alarms that showed the subject show the new one.
    for (icalcomponent *alarm = icalcomponent_get_first_component(event, ICAL_VALARM_COMPONENT); alarm;
         alarm = icalcomponent_get_next_component(event, ICAL_VALARM_COMPONENT)) {
        const char *shown = icalcomponent_get_description(alarm);
        if (shown && QString::fromUtf8(shown) == before.reminder->subject)
            setText(alarm, ICAL_DESCRIPTION_PROPERTY, subject);
    }
    setText(event, ICAL_SUMMARY_PROPERTY, subject);
    setText(event, ICAL_DESCRIPTION_PROPERTY, withLineFeeds(reminder.content));
    return takeIcalText(icalcomponent_as_ical_string_r(calendar.get()));
}
