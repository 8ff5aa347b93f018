#pragma once

#include "caldav/caldavjob.h"
#include "caldav/synccollection.h"

// Every event of a calendar with its etag (PROPFIND, Depth 1): how to see what changed on a server that has
// no sync-collection.
class EtagListing : public CalDavJob
{
    Q_OBJECT

public:
    EtagListing(CalDavClient *client, const QUrl &calendar);

    const QList<EventVersion> &events() const { return m_events; }

private:
    void replied(const DavReply &reply) override;

    QList<EventVersion> m_events;
};
