#pragma once

#include <QByteArray>
#include <QList>
#include <QMetaType>
#include <QObject>
#include <QTcpServer>

// A notice server on 127.0.0.1 for tests. It answers each request with the next reply of its script,
// in the thread of the client, and records every request it received. A request with no reply left
// gets none: the server stays silent.
class ScriptedServer : public QObject
{
    Q_OBJECT

public:
    struct Reply
    {
        QList<QByteArray> pieces; // written one after the other; none: no answer
        int gapMs = 0;            // pause before each piece after the first
        bool close = false;       // close the connection after the last piece
    };

    ScriptedServer();

    void add(Reply reply) { m_script.append(std::move(reply)); }
    void add(const QByteArray &reply, bool close = false) { add(Reply{{reply}, 0, close}); }

    // "http://127.0.0.1:<port>/index.html"
    QString address() const;
    quint16 port() const { return m_server.serverPort(); }
    const QList<QByteArray> &requests() const { return m_requests; }
    int connections() const { return m_connections; }
    int closedConnections() const { return m_closedConnections; }

private:
    void accept();
    void play(QTcpSocket *socket, const Reply &reply, qsizetype piece);

    QTcpServer m_server;
    QList<Reply> m_script;
    QList<QByteArray> m_requests;
    int m_connections = 0;
    int m_closedConnections = 0;
};

Q_DECLARE_METATYPE(ScriptedServer::Reply)
