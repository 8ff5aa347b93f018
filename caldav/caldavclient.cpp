#include "caldav/caldavclient.h"

#include "caldav/caldavjob.h"
#include "caldav/calendarcreation.h"
#include "caldav/calendardiscovery.h"
#include "caldav/etaglisting.h"
#include "caldav/eventmultiget.h"
#include "caldav/eventwrite.h"
#include "caldav/synccollection.h"

#include <QHostAddress>
#include <QNetworkReply>

CalDavClient::CalDavClient(QObject *parent)
    : QObject(parent)
{
    // Jobs follow redirects themselves, so that each target is vetted before the credentials go there.
    m_network.setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
}

// The jobs end their requests before the network access manager that made them goes.
CalDavClient::~CalDavClient()
{
    qDeleteAll(findChildren<CalDavJob *>(Qt::FindDirectChildrenOnly));
}

// The credentials go with every request as a Basic header instead of answering a 401 challenge through
// QAuthenticator: a request costs one round trip (a sync with nothing changed stays one request), and a wrong
// password ends with that request's 401, never asked again. They only ever go over TLS, to this machine, or
// where the user allowed plain http (addressError).
void CalDavClient::setCredentials(const QString &user, const QString &password)
{
    m_authorization = "Basic " + (user + QLatin1Char(':') + password).toUtf8().toBase64();
}

void CalDavClient::addCaCertificates(const QList<QSslCertificate> &certificates)
{
    m_tls.addCaCertificates(certificates);
}

CalDavError CalDavClient::addressError(const QUrl &address) const
{
    if (!address.isValid() || address.host().isEmpty())
        return CalDavError::InvalidAddress;
    const QString scheme = address.scheme();
    if (scheme == QLatin1String("https"))
        return CalDavError::None;
    if (scheme != QLatin1String("http"))
        return CalDavError::InvalidAddress;
    const QString host = address.host();
    if (m_insecureHttpAllowed || host == QLatin1String("localhost") || QHostAddress(host).isLoopback())
        return CalDavError::None;
    return CalDavError::InsecureAddress;
}

QNetworkReply *CalDavClient::send(const DavRequest &davRequest)
{
    // A password written into the address would otherwise go along as well.
    QNetworkRequest request(davRequest.url.adjusted(QUrl::RemoveUserInfo));
    request.setTransferTimeout(int(m_timeout.count()));
    request.setSslConfiguration(m_tls);
    if (!m_authorization.isEmpty())
        request.setRawHeader("Authorization", m_authorization);
    if (!davRequest.contentType.isEmpty())
        request.setHeader(QNetworkRequest::ContentTypeHeader, davRequest.contentType);
    if (!davRequest.depth.isEmpty())
        request.setRawHeader("Depth", davRequest.depth);
    for (const auto &[name, value] : davRequest.headers)
        request.setRawHeader(name, value);
    ++m_requestCount;
    // The body as one array: Qt then sends it with a Content-Length, never chunked (some servers read no
    // chunked bodies).
    return m_network.sendCustomRequest(request, davRequest.method, davRequest.body);
}

CalendarDiscovery *CalDavClient::discover(const QUrl &address)
{
    return new CalendarDiscovery(this, address);
}

CalendarCreation *CalDavClient::createCalendar(const QUrl &home, const QString &displayName)
{
    return new CalendarCreation(this, home, displayName);
}

SyncCollection *CalDavClient::syncCollection(const QUrl &calendar, const QString &syncToken)
{
    return new SyncCollection(this, calendar, syncToken);
}

EtagListing *CalDavClient::listEtags(const QUrl &calendar)
{
    return new EtagListing(this, calendar);
}

EventMultiget *CalDavClient::multiget(const QUrl &calendar, const QStringList &hrefs, int batchSize)
{
    return new EventMultiget(this, calendar, hrefs, batchSize);
}

EventWrite *CalDavClient::putEvent(const QUrl &event, const QByteArray &ics, const QString &etag)
{
    return new EventWrite(this, event, etag, ics);
}

EventWrite *CalDavClient::deleteEvent(const QUrl &event, const QString &etag)
{
    return new EventWrite(this, event, etag);
}
