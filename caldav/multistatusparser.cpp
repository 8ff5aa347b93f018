#include "caldav/multistatusparser.h"

#include "caldav/davbody.h"

namespace {

// "HTTP/1.1 404 Not Found" -> 404
int statusCode(const QString &line)
{
    return line.simplified().section(QLatin1Char(' '), 1, 1).toInt();
}

// A server may split the properties of one resource over several successful propstats.
void addProperties(DavResource &into, DavResource &&from)
{
    auto take = [](auto &to, auto &&value) {
        if (!value.isEmpty())
            to = std::move(value);
    };
    take(into.displayName, from.displayName);
    take(into.etag, from.etag);
    take(into.ctag, from.ctag);
    take(into.principal, from.principal);
    take(into.calendarHomes, from.calendarHomes);
    take(into.components, from.components);
    take(into.calendarData, from.calendarData);
    into.isCollection |= from.isCollection;
    into.isCalendar |= from.isCalendar;
    into.supportsSyncCollection |= from.supportsSyncCollection;
}

} // namespace

MultistatusParser::MultistatusParser(const QByteArray &xml)
    : m_xml(xml)
{
}

std::optional<Multistatus> MultistatusParser::parse(const QByteArray &xml)
{
    MultistatusParser parser(xml);
    if (!parser.readMultistatus())
        return std::nullopt;
    return std::move(parser.m_result);
}

bool MultistatusParser::hasDavCondition(const QByteArray &xml, QStringView name)
{
    MultistatusParser parser(xml);
    if (!parser.m_xml.readNextStartElement() || !parser.is(kDavNs, u"error"))
        return false;
    while (parser.m_xml.readNextStartElement()) {
        if (parser.is(kDavNs, name))
            return true;
        parser.m_xml.skipCurrentElement();
    }
    return false;
}

bool MultistatusParser::is(QStringView ns, QStringView name) const
{
    return m_xml.namespaceUri() == ns && m_xml.name() == name;
}

bool MultistatusParser::readMultistatus()
{
    if (!m_xml.readNextStartElement() || !is(kDavNs, u"multistatus"))
        return false;
    while (m_xml.readNextStartElement()) {
        if (is(kDavNs, u"response"))
            readResponse();
        else if (is(kDavNs, u"sync-token"))
            m_result.syncToken = m_xml.readElementText().trimmed();
        else
            m_xml.skipCurrentElement();
    }
    return !m_xml.hasError();
}

void MultistatusParser::readResponse()
{
    DavResource resource;
    // A response with a status may name several resources that share it.
    QStringList hrefs;
    while (m_xml.readNextStartElement()) {
        if (is(kDavNs, u"href"))
            hrefs.append(m_xml.readElementText().trimmed());
        else if (is(kDavNs, u"status"))
            resource.status = statusCode(m_xml.readElementText());
        else if (is(kDavNs, u"propstat"))
            readPropstat(resource);
        else
            m_xml.skipCurrentElement();
    }
    for (const QString &href : std::as_const(hrefs)) {
        resource.href = href;
        m_result.resources.append(resource);
    }
}

void MultistatusParser::readPropstat(DavResource &resource)
{
    DavResource properties;
    int status = 0;
    while (m_xml.readNextStartElement()) {
        if (is(kDavNs, u"prop"))
            readProperties(properties);
        else if (is(kDavNs, u"status"))
            status = statusCode(m_xml.readElementText());
        else
            m_xml.skipCurrentElement();
    }
    if (status >= 200 && status < 300)
        addProperties(resource, std::move(properties));
}

void MultistatusParser::readProperties(DavResource &properties)
{
    while (m_xml.readNextStartElement()) {
        if (is(kDavNs, u"displayname"))
            properties.displayName = m_xml.readElementText().trimmed();
        else if (is(kDavNs, u"getetag"))
            properties.etag = m_xml.readElementText().trimmed();
        else if (is(kCalendarServerNs, u"getctag"))
            properties.ctag = m_xml.readElementText().trimmed();
        else if (is(kDavNs, u"current-user-principal"))
            properties.principal = readHrefs().value(0);
        else if (is(kCalDavNs, u"calendar-home-set"))
            properties.calendarHomes = readHrefs();
        else if (is(kDavNs, u"resourcetype"))
            readResourceType(properties);
        else if (is(kCalDavNs, u"supported-calendar-component-set"))
            properties.components = readComponents();
        else if (is(kDavNs, u"supported-report-set"))
            properties.supportsSyncCollection = readSupportsSyncCollection();
        else if (is(kCalDavNs, u"calendar-data"))
            properties.calendarData = m_xml.readElementText().toUtf8();
        else
            m_xml.skipCurrentElement();
    }
}

QStringList MultistatusParser::readHrefs()
{
    QStringList hrefs;
    while (m_xml.readNextStartElement()) {
        if (is(kDavNs, u"href"))
            hrefs.append(m_xml.readElementText().trimmed());
        else
            m_xml.skipCurrentElement();
    }
    return hrefs;
}

void MultistatusParser::readResourceType(DavResource &properties)
{
    while (m_xml.readNextStartElement()) {
        if (is(kDavNs, u"collection"))
            properties.isCollection = true;
        else if (is(kCalDavNs, u"calendar"))
            properties.isCalendar = true;
        m_xml.skipCurrentElement();
    }
}

QStringList MultistatusParser::readComponents()
{
    QStringList components;
    while (m_xml.readNextStartElement()) {
        if (is(kCalDavNs, u"comp"))
            components.append(m_xml.attributes().value(QLatin1String("name")).toString().toUpper());
        m_xml.skipCurrentElement();
    }
    return components;
}

// <supported-report><report><sync-collection/></report></supported-report>, among the other reports
bool MultistatusParser::readSupportsSyncCollection()
{
    bool found = false;
    for (int depth = 1; depth > 0 && !m_xml.atEnd();) {
        m_xml.readNext();
        if (m_xml.isStartElement()) {
            ++depth;
            found |= is(kDavNs, u"sync-collection");
        } else if (m_xml.isEndElement()) {
            --depth;
        }
    }
    return found;
}
