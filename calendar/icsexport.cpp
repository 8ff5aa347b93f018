#include "calendar/icsexport.h"

#include "calendar/ical.h"
#include "calendar/inputerror.h"
#include "core/clock.h"
#include "core/text.h"
#include "store/calendarrecord.h"
#include "store/reminderrepeats.h"
#include "store/reminderstore.h"

#include <QIODevice>
#include <QTextStream>

namespace {

// A repeating reminder's rule and exceptions. A rule of the program's own kinds starts at the row's occurrence,
// the next one, so that calendars show no past; a calendar's rule keeps its first occurrence, which its count
// counts from.
void addRepeat(icalcomponent *event, const Reminder &reminder, const Repetition &repetition)
{
    if (!repetition.isOwnKind()) {
        icalproperty *start = icalcomponent_get_first_property(event, ICAL_DTSTART_PROPERTY);
        icalproperty_set_dtstart(start, icalTimeOf(repetition.start, IcalTimeKind::Floating));
    }
    icalcomponent_add_property(
        event, icalproperty_new_rrule(icalrecurrencetype_from_string(repetition.calendarRule().toUtf8().constData())));
    for (const QDateTime &exception : repetition.exceptions) {
        if (repetition.isOwnKind() && exception < reminder.due)
            continue;
        icalcomponent_add_property(event, icalproperty_new_exdate(icalTimeOf(exception, IcalTimeKind::Floating)));
    }
}

} // namespace

QByteArray calendarHead()
{
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Orvane//orvane-db " ORVANE_VERSION
           "//ZH\r\nCALSCALE:GREGORIAN\r\n";
}

QByteArray eventText(const Reminder &reminder, const Repetition *repetition, const QByteArray &uid,
                     const QDateTime &stampUtc)
{
    const icaltimetype stamp = icalTimeOf(stampUtc.toUTC(), IcalTimeKind::Utc);
    // The program's line breaks are carriage returns, which iCalendar's text has no escape for.
    const QByteArray subject = withLineFeeds(reminder.subject).toUtf8();
    IcalComponent alarm(icalcomponent_vanew(ICAL_VALARM_COMPONENT, icalproperty_new_action(ICAL_ACTION_DISPLAY),
                                            icalproperty_new_trigger(icaltriggertype_from_int(0)),
                                            icalproperty_new_description(subject.constData()), nullptr));
    const IcalComponent event(icalcomponent_vanew(
        ICAL_VEVENT_COMPONENT, icalproperty_new_uid(uid.constData()), icalproperty_new_dtstamp(stamp),
        icalproperty_new_dtstart(icalTimeOf(reminder.due, IcalTimeKind::Floating)),
        icalproperty_new_summary(subject.constData()), nullptr));
    if (repetition)
        addRepeat(event.get(), reminder, *repetition);
    if (!reminder.content.isEmpty())
        icalcomponent_add_property(event.get(),
                                   icalproperty_new_description(withLineFeeds(reminder.content).toUtf8().constData()));
    // The event owns its alarm from here on.
    icalcomponent_add_component(event.get(), alarm.release());
    return takeIcalText(icalcomponent_as_ical_string_r(event.get()));
}

namespace {

void write(QIODevice &output, const QByteArray &text)
{
    if (output.write(text) != text.size())
        throw InputError(QStringLiteral("--ics: writing failed: %1").arg(output.errorString()));
}

} // namespace

int writeCalendar(ReminderStore &store, QIODevice &output, QTextStream &error, const Clock &clock)
{
    const QDateTime stamp = clock.now();
    const QByteArray calendarId = CalendarRecord(store).calendarId().toUtf8();
    write(output, calendarHead());
    const QHash<qint64, Repetition> repeats = ReminderRepeats(store).all();
    int count = 0;
    store.forEachInTimeOrder({}, {}, [&](const Reminder &reminder) {
        if (!reminder.due.isValid()) {
            error << "orvane-db: reminder " << reminder.id << " left out: its time is not a readable date and time"
                  << Qt::endl;
            return;
        }
        const auto repeat = repeats.constFind(reminder.rowid);
        write(output, eventText(reminder, repeat == repeats.cend() ? nullptr : &*repeat,
                                "orvane-reminder-" + QByteArray::number(reminder.id) + '@' + calendarId, stamp));
        ++count;
    });
    write(output, "END:VCALENDAR\r\n");
    return count;
}
