#include "calendar/calendarobject.h"

#include "calendar/icsevent.h"
#include "calendar/icsexport.h"
#include "calendar/icsreader.h"
#include "calendar/inputerror.h"
#include "core/text.h"
#include "store/textformats.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <algorithm>
#include <vector>

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

void removeAll(icalcomponent *event, icalproperty_kind kind)
{
    while (icalproperty *old = icalcomponent_get_first_property(event, kind)) {
        icalcomponent_remove_property(event, old);
        icalproperty_free(old);
    }
}

void setText(icalcomponent *event, icalproperty_kind kind, const QString &text)
{
    removeAll(event, kind);
    if (text.isEmpty())
        return;
    icalproperty *property = icalproperty_new(kind);
    icalproperty_set_value(property, icalvalue_new_text(text.toUtf8().constData()));
    icalcomponent_add_property(event, property);
}

// The series' first occurrence: its start, where one of the program's own kinds does not skip that day (a
// series of workdays begun on a Saturday starts on Monday), as calendar programs take DTSTART for one.
QDateTime firstOccurrence(const Repetition &series)
{
    if (!series.isOwnKind())
        return series.start;
    const QDateTime first = Repetition{series.rule, series.start, {}}.nextAfter(series.start.addSecs(-1));
    return first.isValid() ? first : series.start;
}

// The EXDATE of the occurrence at the local `at`, written as the event's DTSTART (the occurrence at the local
// `start`) writes its own: in its zone, or as a date. A series kept as its rule lies a fixed distance from the
// local clock, so that the distance from the start is the same in either.
icalproperty *exceptionAt(icalproperty *startProperty, const QDateTime &start, const QDateTime &at)
{
    const qint64 seconds = start.secsTo(at);
    icaltimetype value = icalproperty_get_dtstart(startProperty);
    icaltime_adjust(&value, int(seconds / 86400), 0, 0, value.is_date ? 0 : int(seconds % 86400));
    icalproperty *exception = icalproperty_new_exdate(value);
    if (icalparameter *zone = icalproperty_get_first_parameter(startProperty, ICAL_TZID_PARAMETER))
        icalproperty_add_parameter(exception, icalparameter_new_clone(zone));
    return exception;
}

// Writes `after`'s rule and exceptions in place of `before`'s where they differ, each left as written where it
// did not change, so that what another program wrote (an UNTIL in UTC, EXDATEs in its zone) stays.
void changeSeries(icalcomponent *event, const Repetition &before, const Repetition &after)
{
    const bool ruleChanged = before.calendarRule() != after.calendarRule();
    if (ruleChanged) {
        removeAll(event, ICAL_RRULE_PROPERTY);
        icalcomponent_add_property(
            event, icalproperty_new_rrule(icalrecurrencetype_from_string(after.calendarRule().toUtf8().constData())));
    }
    QList<QDateTime> added = after.exceptions;
    const bool onlyAdded = !ruleChanged && firstOccurrence(before) == firstOccurrence(after)
                           && std::all_of(before.exceptions.cbegin(), before.exceptions.cend(),
                                          [&](const QDateTime &old) { return after.exceptions.contains(old); });
    if (onlyAdded)
        added.removeIf([&](const QDateTime &exception) { return before.exceptions.contains(exception); });
    else
        removeAll(event, ICAL_EXDATE_PROPERTY);
    icalproperty *start = icalcomponent_get_first_property(event, ICAL_DTSTART_PROPERTY);
    for (const QDateTime &exception : std::as_const(added))
        icalcomponent_add_property(event, exceptionAt(start, firstOccurrence(after), exception));
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
    std::vector<IcalComponent> overrides;
    try {
        IcsReader reader(input);
        while (std::optional<IcsReader::Part> part = reader.next()) {
            if (!part->component || !part->problem.isEmpty())
                continue;
            const icalcomponent_kind kind = icalcomponent_isa(part->component.get());
            if (kind == ICAL_VTIMEZONE_COMPONENT)
                converter.addTimeZone(std::move(part->component));
            else if (kind == ICAL_VEVENT_COMPONENT && EventConverter::isOverride(part->component.get()))
                overrides.push_back(std::move(part->component));
            else if (kind == ICAL_VEVENT_COMPONENT && !event)
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
    // An occurrence that an override moves is left out of the series; no reminder of its own here, as the
    // event is one reminder.
    for (const IcalComponent &replacing : overrides)
        converter.addOverride(replacing.get());
    const EventReminders made = converter.convert(event.get());
    const bool keptAsRule = made.reminders.size() == 1 && made.reminders.first().repetition;
    if (!made.problem.isEmpty())
        object.problem = made.problem;
    else if (made.ended)
        object.problem = QStringLiteral("its series has ended");
    else if (made.recurring && !keptAsRule)
        object.problem = QStringLiteral("its rule is not one the desk's clock can follow");
    else if (made.reminders.isEmpty())
        object.problem = QStringLiteral("it makes no reminder");
    else {
        object.reminder = made.reminders.first().reminder;
        object.repetition = made.reminders.first().repetition;
    }
    return object;
}

QString reminderFingerprint(const Reminder &reminder, const Repetition *repetition)
{
    QString fields = withLineFeeds(reminder.subject) + QChar(0x1f) + withLineFeeds(reminder.content) + QChar(0x1f);
    if (!repetition) {
        fields += canonicalDateTimeText(reminder.due);
    } else {
        QList<QDateTime> exceptions = repetition->exceptions;
        std::sort(exceptions.begin(), exceptions.end());
        fields += canonicalDateTimeText(firstOccurrence(*repetition)) + QChar(0x1f) + repetition->calendarRule();
        for (const QDateTime &exception : std::as_const(exceptions))
            fields += QChar(0x1f) + canonicalDateTimeText(exception);
    }
    return QString::fromLatin1(QCryptographicHash::hash(fields.toUtf8(), QCryptographicHash::Sha1).toHex());
}

QByteArray calendarObjectOf(const Reminder &reminder, const Repetition *repetition, const QString &uid,
                            const QDateTime &stamp)
{
    Reminder first = reminder;
    if (repetition)
        first.due = firstOccurrence(*repetition);
    return calendarHead() + eventText(first, repetition, uid.toUtf8(), stamp) + "END:VCALENDAR\r\n";
}

QByteArray changedCalendarObject(const QByteArray &ics, const Reminder &reminder, const Repetition *repetition,
                                 const QDateTime &now)
{
    const CalendarObject before = readCalendarObject(ics, now);
    if (!before.reminder || before.repetition.has_value() != (repetition != nullptr))
        return {};
    const IcalComponent calendar(icalparser_parse_string(ics.constData()));
    if (!calendar)
        return {};
    icalcomponent *event = icalcomponent_get_first_component(calendar.get(), ICAL_VEVENT_COMPONENT);
    while (event && EventConverter::isOverride(event))
        event = icalcomponent_get_next_component(calendar.get(), ICAL_VEVENT_COMPONENT);
    if (!event)
        return {};
    const qint64 moved = repetition ? firstOccurrence(*before.repetition).secsTo(firstOccurrence(*repetition))
                                    : before.reminder->due.secsTo(reminder.due);
    if (!move(event, ICAL_DTSTART_PROPERTY, moved) || !move(event, ICAL_DTEND_PROPERTY, moved))
        return {};
    if (repetition)
        changeSeries(event, *before.repetition, *repetition);
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
