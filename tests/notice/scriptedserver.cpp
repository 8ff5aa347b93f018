#include "scriptedserver.h"

#include <QTcpSocket>
#include <QTimer>
#include <memory>

ScriptedServer::ScriptedServer()
{
    connect(&m_server, &QTcpServer::newConnection, this, &ScriptedServer::accept);
    if (!m_server.listen(QHostAddress::LocalHost))
        qFatal("scripted server: %s", qPrintable(m_server.errorString()));
}

QString ScriptedServer::address() const
{
    return QStringLiteral("http://127.0.0.1:%1/index.html").arg(port());
}

void ScriptedServer::accept()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        ++m_connections;
        auto received = std::make_shared<QByteArray>();
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            ++m_closedConnections;
            socket->deleteLater();
        });
        connect(socket, &QTcpSocket::readyRead, this, [this, socket, received] {
            *received += socket->readAll();
            qsizetype end;
            while ((end = received->indexOf("\r\n\r\n")) >= 0) {
                m_requests.append(received->left(end + 4));
                received->remove(0, end + 4);
                if (!m_script.isEmpty())
                    play(socket, m_script.takeFirst(), 0);
            }
        });
    }
}

void ScriptedServer::play(QTcpSocket *socket, const Reply &reply, qsizetype piece)
{
    if (piece < reply.pieces.size()) {
        socket->write(reply.pieces.at(piece));
        if (piece + 1 < reply.pieces.size()) {
            QTimer::singleShot(reply.gapMs, socket, [this, socket, reply, piece] { play(socket, reply, piece + 1); });
            return;
        }
    }
    if (reply.close)
        socket->disconnectFromHost();
}
