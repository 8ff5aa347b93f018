#include "notice/http/httpclient.h"

#include "notice/fetcherrors.h"
#include "notice/httprequest.h"

#include <QHostAddress>
#include <QTcpSocket>
#include <QUrl>
#include <utility>

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

// The socket error numbers below are Winsock's, kept on purpose: these messages read as they always have,
// whatever numbers this platform's sockets use.
QString timedOutMessage()
{
    return socketErrorMessage(10060, QStringLiteral("Connection timed out.")); // WSAETIMEDOUT
}

QString socketErrorText(const QAbstractSocket &socket)
{
    switch (socket.error()) {
    case QAbstractSocket::HostNotFoundError:
        return socketErrorMessage(11001, QStringLiteral("Host not found.")); // WSAHOST_NOT_FOUND
    case QAbstractSocket::ConnectionRefusedError:
        return socketErrorMessage(10061, QStringLiteral("Connection refused.")); // WSAECONNREFUSED
    case QAbstractSocket::SocketTimeoutError:
        return timedOutMessage();
    default: // no Winsock number to keep: Qt's own
        return socketErrorMessage(socket.error(), socket.errorString());
    }
}

} // namespace

HttpClient::HttpClient(QObject *parent)
    : NoticeClient(parent)
{
    m_waitTimer.setSingleShot(true);
    connect(&m_waitTimer, &QTimer::timeout, this, &HttpClient::timedOut);
    m_fetchTimer.setSingleShot(true);
    connect(&m_fetchTimer, &QTimer::timeout, this, &HttpClient::timedOut);
    m_reportTimer.setSingleShot(true);
    m_reportTimer.setInterval(0);
    connect(&m_reportTimer, &QTimer::timeout, this, &HttpClient::report);
}

HttpClient::~HttpClient()
{
    // Now, while the members live: the socket's last signals must not reach a client half destroyed.
    dropConnection();
}

void HttpClient::get(const QString &address)
{
    abort();
    m_parser = ReplyParser();
    const QUrl url(address, QUrl::StrictMode);
    if (!url.isValid() || url.scheme() != QLatin1String("http") || url.host().isEmpty()) {
        fail(kInvalidPageAddress + address);
        return;
    }
    m_host = url.host();
    const QString path = url.path(QUrl::FullyEncoded);
    m_path = path.isEmpty() ? QByteArray("/") : path.toLatin1();
    m_hostHeader = hostHeader(url);
    m_fetchTimer.start(m_fetchTimeoutMs);
    const auto port = static_cast<quint16>(url.port(kHttpPort));
    // A connection that the server closed, or sent something unasked on, while it lay idle is gone already.
    m_reused = m_socket && m_socketHost == m_host && m_socketPort == port
               && m_socket->state() == QAbstractSocket::ConnectedState && m_socket->bytesAvailable() == 0;
    if (m_reused)
        sendRequest();
    else
        connectTo(m_host, port);
}

void HttpClient::abort()
{
    m_waitTimer.stop();
    m_fetchTimer.stop();
    m_reportTimer.stop();
    // A connection in the middle of a reply cannot carry another; one that ended well stays for the next.
    if (m_phase == Phase::Connecting || m_phase == Phase::Reading)
        dropConnection();
    m_phase = Phase::Idle;
}

void HttpClient::connectTo(const QString &host, quint16 port)
{
    dropConnection();
    m_socket = new QTcpSocket(this);
    m_socketHost = host;
    m_socketPort = port;
    connect(m_socket, &QTcpSocket::connected, this, &HttpClient::sendRequest);
    connect(m_socket, &QTcpSocket::readyRead, this, &HttpClient::readReply);
    connect(m_socket, &QTcpSocket::errorOccurred, this, &HttpClient::socketFailed);
    m_phase = Phase::Connecting;
    m_waitTimer.start(m_connectTimeoutMs);
    // Last: a failure may be reported from inside connectToHost, and it drops the socket.
    if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
        m_socket->connectToHost(QHostAddress(QHostAddress::LocalHost), port);
    else
        m_socket->connectToHost(host, port);
}

void HttpClient::sendRequest()
{
    m_phase = Phase::Reading;
    m_socket->write(httpRequest(m_path, m_hostHeader, m_cookies.cookieHeader(m_host, m_path)));
    m_waitTimer.start(m_readTimeoutMs);
}

void HttpClient::readReply()
{
    if (m_phase != Phase::Reading) {
        // Bytes nobody asked for: the connection cannot carry the next request.
        dropConnection();
        return;
    }
    takeArrived();
    settle();
}

void HttpClient::takeArrived()
{
    const QByteArray bytes = m_socket->readAll();
    if (!bytes.isEmpty())
        m_reused = false;
    m_parser.feed(bytes);
}

void HttpClient::socketFailed(QAbstractSocket::SocketError error)
{
    if (m_phase == Phase::Idle || m_phase == Phase::Reporting) {
        // The kept connection has ended while it lay idle.
        dropConnection();
        return;
    }
    if (m_phase == Phase::Reading) {
        // What came before the end counts: the reply may be whole, or end where the connection does.
        takeArrived();
        if (!m_parser.isFinished() && retryOnNewConnection())
            return;
        if (m_parser.isFinished() || error == QAbstractSocket::RemoteHostClosedError) {
            m_parser.close();
            settle();
            return;
        }
    }
    const QString message = socketErrorText(*m_socket);
    dropConnection();
    fail(message);
}

void HttpClient::timedOut()
{
    const QString message = m_phase == Phase::Connecting ? timedOutMessage() : kReadTimeout;
    dropConnection();
    fail(message);
}

// A kept connection that ends before the first byte of the reply had been closed by the server just
// as the request went: the request goes once more, on a new connection.
bool HttpClient::retryOnNewConnection()
{
    if (!m_reused)
        return false;
    m_reused = false;
    connectTo(m_socketHost, m_socketPort);
    return true;
}

// After the server's latest bytes or its close: the fetch ends, or waits again for at most its silence limit.
void HttpClient::settle()
{
    if (!m_parser.isFinished()) {
        const bool draining = m_parser.state() == ReplyParser::State::Draining;
        m_waitTimer.start(draining ? kDrainTimeoutMs : m_readTimeoutMs);
        return;
    }
    if (!m_parser.leavesConnectionReusable())
        dropConnection();
    if (m_parser.state() == ReplyParser::State::Complete)
        end(m_parser.body(), std::nullopt);
    else
        fail(m_parser.error());
}

void HttpClient::fail(const QString &message)
{
    end({}, message);
}

void HttpClient::end(const QByteArray &body, const std::optional<QString> &error)
{
    m_waitTimer.stop();
    m_fetchTimer.stop();
    if (m_parser.hasHead())
        m_cookies.store(m_host, m_parser.head());
    m_body = body;
    m_error = error;
    m_phase = Phase::Reporting;
    m_reportTimer.start();
}

void HttpClient::report()
{
    m_phase = Phase::Idle;
    const QByteArray body = std::exchange(m_body, {});
    const std::optional<QString> error = std::exchange(m_error, std::nullopt);
    if (error)
        emit failed(*error);
    else
        emit fetched(body);
}

void HttpClient::dropConnection()
{
    if (!m_socket)
        return;
    m_socket->disconnect(this);
    m_socket->abort();
    // Later: this may run inside one of the socket's own signals.
    m_socket->deleteLater();
    m_socket = nullptr;
}
