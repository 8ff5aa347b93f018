#pragma once

#include "caldav/caldavjob.h"

#include <QList>
#include <QString>
#include <QStringList>

// An event's href, as the server writes it, with the etag of its current version.
struct EventVersion
{
    QString href;
    QString etag;
};

// What changed in a calendar since a sync token (sync-collection REPORT, RFC 6578). With an empty token:
// every event. A server that answers in parts is asked again until it has told everything.
// SyncTokenExpired: the server no longer knows the token; list the calendar again with an empty one.
class SyncCollection : public CalDavJob
{
    Q_OBJECT

public:
    SyncCollection(CalDavClient *client, const QUrl &calendar, const QString &syncToken);

    // Added or changed events, with their new etags.
    const QList<EventVersion> &changed() const { return m_changed; }
    // The hrefs of the events removed.
    const QStringList &removed() const { return m_removed; }
    // The token for the next sync.
    QString syncToken() const { return m_syncToken; }

private:
    void ask();
    void replied(const DavReply &reply) override;

    QUrl m_calendar;
    QString m_syncToken;
    QList<EventVersion> m_changed;
    QStringList m_removed;
};
