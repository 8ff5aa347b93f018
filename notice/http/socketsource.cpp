#include "notice/http/socketsource.h"

#include "core/apperror.h"
#include "notice/fetcherrors.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QHostAddress>
#include <QTcpSocket>
#include <QTimer>
#include <chrono>

namespace {

// Runs the event loop, without user input, until done() holds; false when timeoutMs pass first.
template <typename Done> bool waitUntil(QTcpSocket &socket, Done done, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QEventLoop loop;
        QTimer timer;
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
        QObject::connect(&socket, &QIODevice::readyRead, &loop, &QEventLoop::quit);
        QObject::connect(&socket, &QAbstractSocket::stateChanged, &loop, &QEventLoop::quit);
        QObject::connect(&socket, &QAbstractSocket::errorOccurred, &loop, &QEventLoop::quit);
        timer.start(std::chrono::milliseconds(deadline.remainingTime()));
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    return true;
}

AppError timedOut()
{
    return AppError(socketErrorMessage(10060, QStringLiteral("Connection timed out.")));
}

AppError socketError(const QTcpSocket &socket)
{
    switch (socket.error()) {
    case QAbstractSocket::HostNotFoundError:
        return AppError(socketErrorMessage(11001, QStringLiteral("Host not found.")));
    case QAbstractSocket::ConnectionRefusedError:
        return AppError(socketErrorMessage(10061, QStringLiteral("Connection refused.")));
    case QAbstractSocket::SocketTimeoutError:
        return timedOut();
    default:
        return AppError(socketErrorMessage(socket.error(), socket.errorString()));
    }
}

} // namespace

void connectSocket(QTcpSocket &socket, const QString &host, quint16 port, int timeoutMs)
{
    if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
        socket.connectToHost(QHostAddress(QHostAddress::LocalHost), port);
    else
        socket.connectToHost(host, port);
    const bool settled = waitUntil(
        socket,
        [&socket] {
            return socket.state() == QAbstractSocket::ConnectedState
                   || socket.state() == QAbstractSocket::UnconnectedState;
        },
        timeoutMs);
    if (!settled) {
        socket.abort();
        throw timedOut();
    }
    if (socket.state() != QAbstractSocket::ConnectedState)
        throw socketError(socket);
}

QByteArray SocketSource::read(qsizetype maxBytes, int timeoutMs)
{
    const bool arrived = waitUntil(
        m_socket,
        [this] { return m_socket.bytesAvailable() > 0 || m_socket.state() != QAbstractSocket::ConnectedState; },
        timeoutMs);
    if (!arrived)
        throw AppError(kReadTimeout);
    if (m_socket.bytesAvailable() > 0)
        return m_socket.read(maxBytes);
    if (m_socket.error() != QAbstractSocket::RemoteHostClosedError)
        throw socketError(m_socket);
    return {};
}
