#pragma once

#include <libical/ical.h>

#include <QByteArray>
#include <memory>

// Ownership of libical's objects.
struct IcalComponentFree
{
    void operator()(icalcomponent *component) const { icalcomponent_free(component); }
};
using IcalComponent = std::unique_ptr<icalcomponent, IcalComponentFree>;

// The text of a libical *_r function, which the caller frees.
inline QByteArray takeIcalText(char *text)
{
    const QByteArray copy(text);
    icalmemory_free_buffer(text);
    return copy;
}
