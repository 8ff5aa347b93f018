#include "caldav/synccollection.h"

#include "caldav/davbody.h"
#include "caldav/multistatusparser.h"

namespace {

bool isSamePath(QString a, QString b)
{
    while (a.endsWith(QLatin1Char('/')))
        a.chop(1);
    while (b.endsWith(QLatin1Char('/')))
        b.chop(1);
    return a == b;
}

} // namespace

SyncCollection::SyncCollection(CalDavClient *client, const QUrl &calendar, const QString &syncToken)
    : CalDavJob(client)
    , m_calendar(calendar)
    , m_syncToken(syncToken)
{
    ask();
}

void SyncCollection::ask()
{
    DavBody body;
    QXmlStreamWriter &xml = body.xml();
    xml.writeStartElement(kDavNs, QStringLiteral("sync-collection"));
    xml.writeTextElement(kDavNs, QStringLiteral("sync-token"), m_syncToken);
    xml.writeTextElement(kDavNs, QStringLiteral("sync-level"), QStringLiteral("1"));
    body.writeProp({{kDavNs, "getetag"}});
    send({"REPORT", m_calendar, body.finish(), "application/xml; charset=utf-8", "0", {}});
}

void SyncCollection::replied(const DavReply &reply)
{
    if ((reply.status == 403 || reply.status == 409)
        && MultistatusParser::hasDavCondition(reply.body, u"valid-sync-token")) {
        finish(CalDavError::SyncTokenExpired);
        return;
    }
    const auto multistatus = readMultistatus(reply);
    if (!multistatus)
        return;
    bool truncated = false;
    for (const DavResource &resource : multistatus->resources) {
        // The calendar itself appears only to say that the answer was cut short (507).
        if (isSamePath(reply.url.resolved(QUrl(resource.href)).path(), reply.url.path()))
            truncated |= resource.status == 507;
        else if (resource.status == 404)
            m_removed.append(resource.href);
        else if (!resource.etag.isEmpty())
            m_changed.append({resource.href, resource.etag});
    }
    if (multistatus->syncToken.isEmpty()) {
        finish(CalDavError::ProtocolError);
        return;
    }
    const bool progressed = multistatus->syncToken != m_syncToken;
    m_syncToken = multistatus->syncToken;
    if (!truncated)
        finish();
    else if (progressed)
        ask();
    else
        finish(CalDavError::ProtocolError); // cut short again and again at the same token: never ends
}
