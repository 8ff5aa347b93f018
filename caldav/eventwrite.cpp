#include "caldav/eventwrite.h"

EventWrite::EventWrite(CalDavClient *client, const QUrl &event, const QString &etag)
    : CalDavJob(client)
    , m_removing(true)
{
    DavRequest request{"DELETE", event, {}, {}, {}, {}};
    if (!etag.isEmpty())
        request.headers.append(qMakePair(QByteArray("If-Match"), etag.toLatin1()));
    send(std::move(request));
}

EventWrite::EventWrite(CalDavClient *client, const QUrl &event, const QString &etag, const QByteArray &ics)
    : CalDavJob(client)
    , m_removing(false)
{
    DavRequest request{"PUT", event, ics, "text/calendar; charset=utf-8", {}, {}};
    if (etag.isEmpty())
        request.headers.append(qMakePair(QByteArray("If-None-Match"), QByteArray("*")));
    else
        request.headers.append(qMakePair(QByteArray("If-Match"), etag.toLatin1()));
    send(std::move(request));
}

void EventWrite::replied(const DavReply &reply)
{
    // A removal of an event that is gone already has what it wanted.
    if ((reply.status >= 200 && reply.status < 300) || (m_removing && reply.status == 404)) {
        m_etag = reply.etag;
        finish();
    } else {
        finish(statusError(reply.status));
    }
}
