#include "caldav/calendarinfo.h"

#include "caldav/davbody.h"
#include "caldav/multistatusparser.h"

CalendarInfo calendarInfo(const DavResource &resource, const QUrl &replyUrl)
{
    const bool acceptsEvents = resource.components.isEmpty() || resource.components.contains(QLatin1String("VEVENT"));
    return {replyUrl.resolved(QUrl(resource.href)), resource.displayName, acceptsEvents,
            resource.supportsSyncCollection, resource.ctag};
}

DavRequest calendarPropfind(const QUrl &url, const QByteArray &depth)
{
    DavBody body;
    body.xml().writeStartElement(kDavNs, QStringLiteral("propfind"));
    body.writeProp({{kDavNs, "resourcetype"},
                    {kDavNs, "displayname"},
                    {kDavNs, "current-user-principal"},
                    {kDavNs, "supported-report-set"},
                    {kCalDavNs, "calendar-home-set"},
                    {kCalDavNs, "supported-calendar-component-set"},
                    {kCalendarServerNs, "getctag"}});
    return {"PROPFIND", url, body.finish(), "application/xml; charset=utf-8", depth, {}};
}
