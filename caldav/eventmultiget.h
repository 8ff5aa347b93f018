#pragma once

#include "caldav/caldavjob.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

// An event as stored on the server.
struct EventData
{
    QString href;
    QString etag;
    QByteArray ics; // the iCalendar text, UTF-8
};

// The bodies of a calendar's events at some hrefs (calendar-multiget REPORT, RFC 4791), a batch of hrefs per
// request, one request after the other.
class EventMultiget : public CalDavJob
{
    Q_OBJECT

public:
    EventMultiget(CalDavClient *client, const QUrl &calendar, const QStringList &hrefs, int batchSize);

    const QList<EventData> &events() const { return m_events; }
    // The hrefs the server has no event at (any more).
    const QStringList &missing() const { return m_missing; }

private:
    void askNextBatch();
    void replied(const DavReply &reply) override;

    QUrl m_calendar;
    QStringList m_hrefs;
    qsizetype m_asked = 0;
    int m_batchSize;
    QList<EventData> m_events;
    QStringList m_missing;
};
