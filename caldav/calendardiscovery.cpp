#include "caldav/calendardiscovery.h"

#include "caldav/multistatusparser.h"

namespace {

// The first resource of a multistatus answer; nothing when the answer is none.
std::optional<DavResource> firstResource(const DavReply &reply)
{
    if (reply.status != 207)
        return std::nullopt;
    const auto multistatus = MultistatusParser::parse(reply.body);
    if (!multistatus || multistatus->resources.isEmpty())
        return std::nullopt;
    return multistatus->resources.first();
}

} // namespace

CalendarDiscovery::CalendarDiscovery(CalDavClient *client, const QUrl &address)
    : CalDavJob(client)
{
    // A server's root is where RFC 6764 has the client ask /.well-known/caldav first; any other address is
    // asked itself first.
    const QUrl wellKnown = address.resolved(QUrl(QStringLiteral("/.well-known/caldav")));
    if (address.path().isEmpty() || address.path() == QLatin1String("/"))
        m_starts = {wellKnown, address};
    else
        m_starts = {address, wellKnown};
    ask(Step::Start, m_starts.takeFirst(), "0");
}

void CalendarDiscovery::ask(Step step, const QUrl &url, const QByteArray &depth)
{
    m_step = step;
    send(calendarPropfind(url, depth));
}

void CalendarDiscovery::replied(const DavReply &reply)
{
    if (reply.status == 401 || reply.status == 403) {
        finish(CalDavError::WrongPassword);
        return;
    }
    switch (m_step) {
    case Step::Start:
        started(reply);
        break;
    case Step::Principal:
        principalRead(reply);
        break;
    case Step::Home:
        homeListed(reply);
        break;
    }
}

void CalendarDiscovery::started(const DavReply &reply)
{
    const auto resource = firstResource(reply);
    if (resource && resource->isCalendar) {
        m_addressIsCalendar = true;
        m_calendars = {calendarInfo(*resource, reply.url)};
        finish();
    } else if (resource && !resource->calendarHomes.isEmpty()) {
        ask(Step::Home, reply.url.resolved(QUrl(resource->calendarHomes.first())), "1");
    } else if (resource && !resource->principal.isEmpty()) {
        ask(Step::Principal, reply.url.resolved(QUrl(resource->principal)), "0");
    } else if (!m_starts.isEmpty()) {
        ask(Step::Start, m_starts.takeFirst(), "0");
    } else {
        finish(reply.status >= 500 ? CalDavError::ServerError : CalDavError::NotACalendar);
    }
}

void CalendarDiscovery::principalRead(const DavReply &reply)
{
    const auto resource = firstResource(reply);
    if (resource && !resource->calendarHomes.isEmpty())
        ask(Step::Home, reply.url.resolved(QUrl(resource->calendarHomes.first())), "1");
    else
        finish(reply.status == 207 ? CalDavError::NotACalendar : statusError(reply.status));
}

void CalendarDiscovery::homeListed(const DavReply &reply)
{
    const auto multistatus = readMultistatus(reply);
    if (!multistatus)
        return;
    m_home = reply.url;
    for (const DavResource &resource : multistatus->resources) {
        if (resource.isCalendar)
            m_calendars.append(calendarInfo(resource, reply.url));
    }
    finish();
}
