#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QXmlStreamReader>
#include <optional>

// One <response> of a multistatus: a resource with the properties the server found for it.
struct DavResource
{
    QString href;   // as the server wrote it: a path, or an address on another host
    int status = 0; // of the response itself (404: removed, in a sync report); 0 when it lists properties
    // The properties of its successful propstats; those the server could not give stay empty.
    QString displayName;
    QString etag; // with its quotes, as If-Match wants it
    QString ctag;
    QString principal;
    QStringList calendarHomes;
    QStringList components; // the calendar components it accepts; empty when it does not say (then: any)
    QByteArray calendarData;
    bool isCollection = false;
    bool isCalendar = false;
    bool supportsSyncCollection = false;
};

struct Multistatus
{
    QList<DavResource> resources;
    QString syncToken;
};

// Reads a WebDAV multistatus (RFC 4918) with the CalDAV and calendarserver properties that the client asks
// for. Elements are told apart by namespace, whatever prefixes the server chose.
class MultistatusParser
{
public:
    // Nothing when the text is not a well-formed multistatus.
    static std::optional<Multistatus> parse(const QByteArray &xml);
    // Whether an error body (<DAV:error>) names the DAV: precondition or postcondition `name`.
    static bool hasDavCondition(const QByteArray &xml, QStringView name);

private:
    explicit MultistatusParser(const QByteArray &xml);

    bool readMultistatus();
    void readResponse();
    void readPropstat(DavResource &resource);
    void readProperties(DavResource &properties);
    QStringList readHrefs();
    void readResourceType(DavResource &properties);
    QStringList readComponents();
    bool readSupportsSyncCollection();
    bool is(QStringView ns, QStringView name) const;

    QXmlStreamReader m_xml;
    Multistatus m_result;
};
