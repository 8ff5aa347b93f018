#pragma once

#include <libical/ical.h>

#include <QByteArray>
#include <QDateTime>
#include <memory>

// Ownership of libical's objects.
struct IcalComponentFree
{
    void operator()(icalcomponent *component) const { icalcomponent_free(component); }
};
using IcalComponent = std::unique_ptr<icalcomponent, IcalComponentFree>;

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
