#pragma once

#include <QByteArray>
#include <QString>
#include <QXmlStreamWriter>
#include <initializer_list>
#include <utility>

inline const QString kDavNs = QStringLiteral("DAV:");
inline const QString kCalDavNs = QStringLiteral("urn:ietf:params:xml:ns:caldav");
inline const QString kCalendarServerNs = QStringLiteral("http://calendarserver.org/ns/");

// The XML body of a WebDAV request, its namespaces declared once on the root element.
class DavBody
{
public:
    DavBody();

    QXmlStreamWriter &xml() { return m_xml; }
    // <d:prop> with an empty element for each property, given as {namespace, name}.
    void writeProp(std::initializer_list<std::pair<QString, const char *>> properties);
    QByteArray finish();

private:
    QByteArray m_bytes;
    QXmlStreamWriter m_xml;
};
