#include "caldav/davbody.h"

DavBody::DavBody()
    : m_xml(&m_bytes)
{
    m_xml.writeStartDocument();
    m_xml.writeNamespace(kDavNs, QStringLiteral("d"));
    m_xml.writeNamespace(kCalDavNs, QStringLiteral("c"));
    m_xml.writeNamespace(kCalendarServerNs, QStringLiteral("cs"));
}

void DavBody::writeProp(std::initializer_list<std::pair<QString, const char *>> properties)
{
    m_xml.writeStartElement(kDavNs, QStringLiteral("prop"));
    for (const auto &[ns, name] : properties)
        m_xml.writeEmptyElement(ns, QLatin1String(name));
    m_xml.writeEndElement();
}

QByteArray DavBody::finish()
{
    m_xml.writeEndDocument();
    return m_bytes;
}
