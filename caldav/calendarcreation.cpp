#include "caldav/calendarcreation.h"

#include "caldav/davbody.h"
#include "caldav/multistatusparser.h"

#include <QUuid>

CalendarCreation::CalendarCreation(CalDavClient *client, const QUrl &home, const QString &displayName)
    : CalDavJob(client)
{
    // The display name is the user's; the address a name no other calendar has.
    QUrl folder = home;
    if (!folder.path().endsWith(QLatin1Char('/')))
        folder.setPath(folder.path() + QLatin1Char('/'));
    const QUrl url = folder.resolved(QUrl(QUuid::createUuid().toString(QUuid::WithoutBraces) + QLatin1Char('/')));

    DavBody body;
    QXmlStreamWriter &xml = body.xml();
    xml.writeStartElement(kCalDavNs, QStringLiteral("mkcalendar"));
    xml.writeStartElement(kDavNs, QStringLiteral("set"));
    xml.writeStartElement(kDavNs, QStringLiteral("prop"));
    xml.writeTextElement(kDavNs, QStringLiteral("displayname"), displayName);
    xml.writeStartElement(kCalDavNs, QStringLiteral("supported-calendar-component-set"));
    xml.writeEmptyElement(kCalDavNs, QStringLiteral("comp"));
    xml.writeAttribute(QStringLiteral("name"), QStringLiteral("VEVENT"));
    send({"MKCALENDAR", url, body.finish(), "application/xml; charset=utf-8", {}, {}});
}

void CalendarCreation::replied(const DavReply &reply)
{
    if (!m_made) {
        if (reply.status < 200 || reply.status >= 300) {
            finish(statusError(reply.status));
            return;
        }
        m_made = true;
        send(calendarPropfind(reply.url, "0"));
        return;
    }
    const auto multistatus = readMultistatus(reply);
    if (!multistatus)
        return;
    if (multistatus->resources.isEmpty() || !multistatus->resources.first().isCalendar) {
        finish(CalDavError::ProtocolError);
        return;
    }
    m_calendar = calendarInfo(multistatus->resources.first(), reply.url);
    finish();
}
