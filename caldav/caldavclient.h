#pragma once

#include "caldav/caldaverror.h"

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QObject>
#include <QSslConfiguration>
#include <QStringList>
#include <QUrl>
#include <chrono>

class CalDavJob;
class CalendarCreation;
class CalendarDiscovery;
class EtagListing;
class EventMultiget;
class EventWrite;
class SyncCollection;
struct DavRequest;

// A CalDAV client (RFC 4791, 6578, 6764) for one account on one server. Each operation returns a job that
// finishes later from the event loop; the client owns the jobs, and deleting it ends those still running.
//
// Addresses: https, or plain http only to this machine (127.0.0.0/8, ::1, localhost) unless the user has
// allowed it; every request is held to that, redirects and addresses the server names included.
class CalDavClient : public QObject
{
    Q_OBJECT

public:
    explicit CalDavClient(QObject *parent = nullptr);
    ~CalDavClient() override;

    void setCredentials(const QString &user, const QString &password);
    // Plain http to any machine, once the user has confirmed it.
    void setInsecureHttpAllowed(bool allowed) { m_insecureHttpAllowed = allowed; }
    // Certificate authorities trusted besides the system's (a home server's own).
    void addCaCertificates(const QList<QSslCertificate> &certificates);
    // How long a request may go without any data moving.
    void setTimeout(std::chrono::milliseconds timeout) { m_timeout = timeout; }

    // Why requests to this address are not made; None when they are.
    CalDavError addressError(const QUrl &address) const;
    // Requests sent so far, redirects included.
    int requestCount() const { return m_requestCount; }

    // The calendars reachable from a server's root, a principal, a calendar home or a calendar itself.
    CalendarDiscovery *discover(const QUrl &address);
    // A new calendar for events in the calendar home, under a fresh name.
    CalendarCreation *createCalendar(const QUrl &home, const QString &displayName);
    // The events changed and removed since the sync token (all of them for an empty token).
    SyncCollection *syncCollection(const QUrl &calendar, const QString &syncToken);
    // Every event's href and etag, for servers without sync-collection.
    EtagListing *listEtags(const QUrl &calendar);
    // The bodies of the events at hrefs (as the server wrote them), a batch of them per request.
    EventMultiget *multiget(const QUrl &calendar, const QStringList &hrefs, int batchSize = 100);
    // Stores an iCalendar body: a new event for an empty etag (refused if one exists there), else a change
    // of the version with that etag.
    EventWrite *putEvent(const QUrl &event, const QByteArray &ics, const QString &etag);
    // Removes the event if its version still has that etag (any version for an empty etag).
    EventWrite *deleteEvent(const QUrl &event, const QString &etag);

private:
    friend class CalDavJob;
    QNetworkReply *send(const DavRequest &request);

    QNetworkAccessManager m_network;
    QSslConfiguration m_tls = QSslConfiguration::defaultConfiguration();
    QByteArray m_authorization;
    bool m_insecureHttpAllowed = false;
    std::chrono::milliseconds m_timeout = std::chrono::seconds(30);
    int m_requestCount = 0;
};
