#include "caldav/eventmultiget.h"

#include "caldav/davbody.h"
#include "caldav/multistatusparser.h"

#include <algorithm>

EventMultiget::EventMultiget(CalDavClient *client, const QUrl &calendar, const QStringList &hrefs, int batchSize)
    : CalDavJob(client)
    , m_calendar(calendar)
    , m_hrefs(hrefs)
    , m_batchSize(std::max(batchSize, 1))
{
    if (m_hrefs.isEmpty())
        QMetaObject::invokeMethod(
            this, [this] { finish(); }, Qt::QueuedConnection);
    else
        askNextBatch();
}

void EventMultiget::askNextBatch()
{
    DavBody body;
    QXmlStreamWriter &xml = body.xml();
    xml.writeStartElement(kCalDavNs, QStringLiteral("calendar-multiget"));
    body.writeProp({{kDavNs, "getetag"}, {kCalDavNs, "calendar-data"}});
    const qsizetype end = std::min(m_asked + m_batchSize, m_hrefs.size());
    for (; m_asked < end; ++m_asked)
        xml.writeTextElement(kDavNs, QStringLiteral("href"), m_hrefs.at(m_asked));
    send({"REPORT", m_calendar, body.finish(), "application/xml; charset=utf-8", "1", {}});
}

void EventMultiget::replied(const DavReply &reply)
{
    const auto multistatus = readMultistatus(reply);
    if (!multistatus)
        return;
    for (const DavResource &resource : multistatus->resources) {
        if (resource.status == 404)
            m_missing.append(resource.href);
        else if (!resource.calendarData.isEmpty())
            m_events.append({resource.href, resource.etag, resource.calendarData});
    }
    if (m_asked < m_hrefs.size())
        askNextBatch();
    else
        finish();
}
