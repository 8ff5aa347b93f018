#include "caldav/etaglisting.h"

#include "caldav/davbody.h"
#include "caldav/multistatusparser.h"

EtagListing::EtagListing(CalDavClient *client, const QUrl &calendar)
    : CalDavJob(client)
{
    DavBody body;
    body.xml().writeStartElement(kDavNs, QStringLiteral("propfind"));
    body.writeProp({{kDavNs, "resourcetype"}, {kDavNs, "getetag"}});
    send({"PROPFIND", calendar, body.finish(), "application/xml; charset=utf-8", "1", {}});
}

void EtagListing::replied(const DavReply &reply)
{
    const auto multistatus = readMultistatus(reply);
    if (!multistatus)
        return;
    // The calendar itself and any folders in it are no events.
    for (const DavResource &resource : multistatus->resources) {
        if (!resource.isCollection && !resource.etag.isEmpty())
            m_events.append({resource.href, resource.etag});
    }
    finish();
}
