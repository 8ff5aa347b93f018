#include "caldav/caldavjob.h"

#include "caldav/caldavclient.h"

#include <QNetworkReply>

namespace {

constexpr int kMaxRedirects = 5;

bool isRedirect(int status)
{
    return status == 301 || status == 302 || status == 307 || status == 308;
}

// Errors below 100 are those of the connection: no answer, or only part of one.
CalDavError transportError(QNetworkReply::NetworkError error)
{
    switch (error) {
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::HostNotFoundError:
        return CalDavError::NoServer;
    // The transfer timeout aborts the reply; a job ends its own requests by deleting them, which emits nothing.
    case QNetworkReply::TimeoutError:
    case QNetworkReply::OperationCanceledError:
        return CalDavError::Timeout;
    case QNetworkReply::SslHandshakeFailedError:
        return CalDavError::UntrustedCertificate;
    default:
        return CalDavError::ConnectionLost;
    }
}

// Qt 6.4 ends a reply whose connection closed before the end of its body as if it were complete.
bool isCutShort(const QNetworkReply &reply, const QByteArray &body)
{
    const QVariant length = reply.header(QNetworkRequest::ContentLengthHeader);
    // A compressed body, which Qt inflates, has another length than the one announced.
    return length.isValid() && !reply.hasRawHeader("Content-Encoding") && body.size() < length.toLongLong();
}

} // namespace

CalDavJob::CalDavJob(CalDavClient *client)
    : QObject(client)
    , m_client(client)
{
}

CalDavJob::~CalDavJob()
{
    delete m_reply;
}

void CalDavJob::send(DavRequest request)
{
    m_request = std::move(request);
    const CalDavError refused = m_client->addressError(m_request.url);
    if (refused != CalDavError::None) {
        QMetaObject::invokeMethod(
            this, [this, refused] { finish(refused); }, Qt::QueuedConnection);
        return;
    }
    m_reply = m_client->send(m_request);
    connect(m_reply, &QNetworkReply::finished, this, &CalDavJob::received);
}

void CalDavJob::received()
{
    QNetworkReply *reply = m_reply;
    reply->deleteLater();
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!status.isValid() || (reply->error() != QNetworkReply::NoError && reply->error() < 100)) {
        finish(transportError(reply->error()));
        return;
    }
    DavReply answer{m_request.url, status.toInt(), reply->readAll(),
                    QString::fromLatin1(reply->rawHeader(QByteArrayLiteral("ETag")))};
    if (isCutShort(*reply, answer.body)) {
        finish(CalDavError::ConnectionLost);
        return;
    }
    if (isRedirect(answer.status)) {
        if (++m_redirects > kMaxRedirects) {
            finish(CalDavError::ProtocolError);
            return;
        }
        const QUrl location = reply->attribute(QNetworkRequest::RedirectionTargetAttribute).toUrl();
        DavRequest next = m_request;
        next.url = m_request.url.resolved(location);
        send(std::move(next));
        return;
    }
    replied(answer);
}

void CalDavJob::finish(CalDavError error)
{
    m_error = error;
    emit finished();
}

std::optional<Multistatus> CalDavJob::readMultistatus(const DavReply &reply)
{
    if (reply.status != 207) {
        finish(statusError(reply.status));
        return std::nullopt;
    }
    auto multistatus = MultistatusParser::parse(reply.body);
    if (!multistatus)
        finish(CalDavError::ProtocolError);
    return multistatus;
}

CalDavError CalDavJob::statusError(int status)
{
    if (status == 401 || status == 403)
        return CalDavError::WrongPassword;
    if (status == 404 || status == 405)
        return CalDavError::NotACalendar;
    if (status == 412)
        return CalDavError::Conflict;
    if (status >= 500)
        return CalDavError::ServerError;
    if (status >= 400)
        return CalDavError::Rejected;
    return CalDavError::ProtocolError;
}
