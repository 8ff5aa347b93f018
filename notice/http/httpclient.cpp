#include "notice/http/httpclient.h"

#include "core/apperror.h"
#include "notice/fetcherrors.h"
#include "notice/http/socketsource.h"
#include "notice/httprequest.h"
#include "notice/replyreader.h"

#include <QScopeGuard>
#include <QTcpSocket>
#include <QUrl>

namespace {

constexpr quint16 kHttpPort = 80;

// The Host header's value: the host, in brackets when it is an IPv6 address, and the port unless it is 80.
QByteArray hostHeader(const QUrl &url)
{
    QByteArray host = url.host(QUrl::FullyEncoded).toLatin1();
    if (host.contains(':'))
        host = '[' + host + ']';
    const int port = url.port(kHttpPort);
    return port == kHttpPort ? host : host + ':' + QByteArray::number(port);
}

} // namespace

HttpClient::HttpClient() = default;
HttpClient::~HttpClient() = default;

QByteArray HttpClient::Get(const QString &address)
{
    const QUrl url(address, QUrl::StrictMode);
    if (!url.isValid() || url.scheme() != QLatin1String("http") || url.host().isEmpty())
        throw AppError(kInvalidPageAddress + address);
    const QByteArray path =
        url.path(QUrl::FullyEncoded).isEmpty() ? QByteArray("/") : url.path(QUrl::FullyEncoded).toLatin1();

    QTcpSocket &socket = connection(url.host(), static_cast<quint16>(url.port(kHttpPort)));
    socket.write(httpRequest(path, hostHeader(url), m_cookies.cookieHeader(url.host(), path)));

    SocketSource source(socket);
    ReplyReader reader(source, m_readTimeoutMs);
    const auto settle = qScopeGuard([this, &reader] {
        if (!reader.leavesConnectionReusable())
            m_socket.reset();
    });
    const ReplyHead head = reader.readHead();
    m_cookies.store(url.host(), head);
    return reader.readBody(head);
}

// The connection an earlier fetch left open to the same place, unless the server has closed it or sent
// something unasked since; otherwise a new one.
QTcpSocket &HttpClient::connection(const QString &host, quint16 port)
{
    if (m_socket && m_socketHost == host && m_socketPort == port) {
        m_socket->waitForReadyRead(0);
        if (m_socket->state() == QAbstractSocket::ConnectedState && m_socket->bytesAvailable() == 0)
            return *m_socket;
    }
    m_socket = std::make_unique<QTcpSocket>();
    m_socketHost = host;
    m_socketPort = port;
    try {
        connectSocket(*m_socket, host, port, m_connectTimeoutMs);
    } catch (...) {
        m_socket.reset();
        throw;
    }
    return *m_socket;
}
