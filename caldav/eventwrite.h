#pragma once

#include "caldav/caldavjob.h"

// Stores (PUT) or removes (DELETE) one event, on condition that nobody changed it in between: If-Match with
// the etag the caller last saw, If-None-Match: * for a new event. Conflict when the condition failed.
class EventWrite : public CalDavJob
{
    Q_OBJECT

public:
    // Removes the event.
    EventWrite(CalDavClient *client, const QUrl &event, const QString &etag);
    // Stores ics as the event.
    EventWrite(CalDavClient *client, const QUrl &event, const QString &etag, const QByteArray &ics);

    // The etag of the version stored. Empty when the server gave none, as servers do that changed the body
    // while storing it: fetch the event again to know both.
    QString etag() const { return m_etag; }

private:
    void replied(const DavReply &reply) override;

    bool m_removing;
    QString m_etag;
};
