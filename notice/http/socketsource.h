#pragma once

#include "notice/bytesource.h"

#include <QString>

class QTcpSocket;

// The socket layer under the HTTP client. Every wait runs a local event loop that holds back user
// input but keeps timers ticking and windows painting, and is bounded by its time-out.

// Connects the socket to host:port ("localhost" in any case is 127.0.0.1; a dotted address is used as
// it is; any other name is looked up). Throws AppError with a socket error: 11001 "Host not found.",
// 10061 "Connection refused.", 10060 "Connection timed out." when timeoutMs pass; any other failure
// gives the number of Qt's socket error (QAbstractSocket::SocketError) and its text.
void connectSocket(QTcpSocket &socket, const QString &host, quint16 port, int timeoutMs);

// The bytes a connected socket receives.
class SocketSource : public ByteSource
{
public:
    explicit SocketSource(QTcpSocket &socket)
        : m_socket(socket)
    {
    }
    QByteArray read(qsizetype maxBytes, int timeoutMs) override;

private:
    QTcpSocket &m_socket;
};
