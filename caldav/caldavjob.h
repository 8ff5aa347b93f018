#pragma once

#include "caldav/caldaverror.h"
#include "caldav/multistatusparser.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPair>
#include <QPointer>
#include <QUrl>

class CalDavClient;
class QNetworkReply;

// One HTTP request of a job.
struct DavRequest
{
    QByteArray method;
    QUrl url;
    QByteArray body;
    QByteArray contentType;
    QByteArray depth; // the Depth header: "0", "1", or none
    QList<QPair<QByteArray, QByteArray>> headers;
};

// The HTTP answer to a request, once redirects have been followed.
struct DavReply
{
    QUrl url; // the address that answered
    int status = 0;
    QByteArray body;
    QString etag;
};

// One CalDAV operation: the requests it takes, then finished(), once, always from the event loop (never from
// inside the call that made it). The client that made it owns it; delete it (deleteLater) once it has
// finished, or earlier to end it without a signal.
class CalDavJob : public QObject
{
    Q_OBJECT

public:
    ~CalDavJob() override;

    CalDavError error() const { return m_error; }
    QString errorMessage() const { return caldavErrorMessage(m_error); }

signals:
    void finished();

protected:
    explicit CalDavJob(CalDavClient *client);

    // The answer comes to replied(); failures that no answer can mend (no connection, timeout, TLS, an address
    // the client does not use, a redirect loop) finish the job instead.
    void send(DavRequest request);
    virtual void replied(const DavReply &reply) = 0;
    void finish(CalDavError error = CalDavError::None);
    // The error an unexpected HTTP status means.
    static CalDavError statusError(int status);
    // The multistatus the reply carries; when it carries none, finishes the job with the error that means.
    std::optional<Multistatus> readMultistatus(const DavReply &reply);

private:
    void received();

    CalDavClient *m_client;
    DavRequest m_request;
    QPointer<QNetworkReply> m_reply;
    int m_redirects = 0;
    CalDavError m_error = CalDavError::None;
};
