#include "calendar/calendarobject.h"

#include "calendar/icsevent.h"
#include "calendar/icsexport.h"
#include "calendar/icsreader.h"
#include "calendar/inputerror.h"

#include <QBuffer>

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
    return calendarHead() + eventText(reminder, uid.toUtf8(), stamp) + "END:VCALENDAR\r\n";
}
