#pragma once

#include <libical/ical.h>

#include <QByteArray>
#include <QDateTime>
#include <memory>

// Ownership of libical's objects: each is freed by the function libical gives for it.
template <auto free> struct IcalFree
{
    template <typename T> void operator()(T *object) const { free(object); }
};
inline void freeTimeZoneAndComponent(icaltimezone *zone)
{
    icaltimezone_free(zone, 1);
}
using IcalComponent = std::unique_ptr<icalcomponent, IcalFree<icalcomponent_free>>;
using IcalParser = std::unique_ptr<icalparser, IcalFree<icalparser_free>>;
using IcalRecurrence = std::unique_ptr<icalrecur_iterator, IcalFree<icalrecur_iterator_free>>;
using IcalTimeZone = std::unique_ptr<icaltimezone, IcalFree<freeTimeZoneAndComponent>>;

enum class IcalTimeKind { Floating, Date, Utc };

// The date and time that `written` spells (its own zone left aside), as libical holds a value of that kind.
inline icaltimetype icalTimeOf(const QDateTime &written, IcalTimeKind kind)
{
    icaltimetype value = icaltime_null_time();
    value.year = written.date().year();
    value.month = written.date().month();
    value.day = written.date().day();
    if (kind == IcalTimeKind::Date) {
        value.is_date = 1;
        return value;
    }
    value.hour = written.time().hour();
    value.minute = written.time().minute();
    value.second = written.time().second();
    if (kind == IcalTimeKind::Utc)
        value.zone = icaltimezone_get_utc_timezone();
    return value;
}

// The text of a libical *_r function, which the caller frees.
inline QByteArray takeIcalText(char *text)
{
    const QByteArray copy(text);
    icalmemory_free_buffer(text);
    return copy;
}
