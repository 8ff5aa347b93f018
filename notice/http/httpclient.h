#pragma once

#include "notice/cookiejar.h"
#include "notice/noticeclient.h"
#include "notice/replyparser.h"

#include <QAbstractSocket>
#include <QByteArray>
#include <QString>
#include <QTimer>
#include <optional>

class QTcpSocket;

// The manager window's HTTP/1.1 client for the notice page, on the signals of a QTcpSocket. It keeps the
// cookies that replies set and a connection that the server leaves open for as long as it lives. No
// proxy, no credentials, redirects not followed.
//
// failed carries a text of notice/fetcherrors.h: a socket error (11001 "Host not found.", 10061
// "Connection refused.", 10060 "Connection timed out." when the connect time-out passes, any other with
// the number of Qt's socket error and its text), kConnectionClosedGracefully, kMaxLineLengthExceeded,
// kUndefinedSituation, kReadTimeout, kReplyTooLarge, kInvalidReplyLength, kInvalidPageAddress; or the status line of a
// reply that is not followed or not successful, once its body has been drained.
class HttpClient : public NoticeClient
{
    Q_OBJECT

public:
    static constexpr int kDefaultConnectTimeoutMs = 15000;
    static constexpr int kDefaultReadTimeoutMs = 30000;
    static constexpr int kDefaultFetchTimeoutMs = 60000;
    // Silence that ends the draining of a reply that is not accepted.
    static constexpr int kDrainTimeoutMs = 2000;

    explicit HttpClient(QObject *parent = nullptr);
    ~HttpClient() override;

    void get(const QString &address) override;
    void abort() override;
    bool isBusy() const override { return m_phase != Phase::Idle; }

    // Longest wait for the connection (name look-up included), reported as socket error 10060.
    void setConnectTimeout(int milliseconds) { m_connectTimeoutMs = milliseconds; }
    // Longest silence of the server while a reply is read, reported as kReadTimeout.
    void setReadTimeout(int milliseconds) { m_readTimeoutMs = milliseconds; }
    // Longest time of a whole fetch, so that a server trickling a byte now and then cannot hold it for hours;
    // reported as kReadTimeout (as socket error 10060 should it pass while connecting).
    void setFetchTimeout(int milliseconds) { m_fetchTimeoutMs = milliseconds; }

private:
    enum class Phase { Idle, Connecting, Reading, Reporting };

    void connectTo(const QString &host, quint16 port);
    void sendRequest();
    void readReply();
    void takeArrived();
    void socketFailed(QAbstractSocket::SocketError error);
    void timedOut();
    bool retryOnNewConnection();
    void settle();
    void fail(const QString &message);
    void end(const QByteArray &body, const std::optional<QString> &error);
    void report();
    void dropConnection();

    CookieJar m_cookies;
    Phase m_phase = Phase::Idle;
    QTcpSocket *m_socket = nullptr;
    QString m_socketHost;
    quint16 m_socketPort = 0;
    // The connection was kept from an earlier fetch: one that the server turns out to have closed
    // meanwhile is replaced by a new one, once.
    bool m_reused = false;
    QString m_host;
    QByteArray m_path;
    QByteArray m_hostHeader;
    ReplyParser m_parser;
    // The connect time-out while connecting, the silence limit while a reply is read.
    QTimer m_waitTimer;
    QTimer m_fetchTimer;
    // Delivers the end of a fetch from the event loop: the socket's signal handlers never call out.
    QTimer m_reportTimer;
    // What the report will say: the body, or the error when there is one.
    QByteArray m_body;
    std::optional<QString> m_error;
    int m_connectTimeoutMs = kDefaultConnectTimeoutMs;
    int m_readTimeoutMs = kDefaultReadTimeoutMs;
    int m_fetchTimeoutMs = kDefaultFetchTimeoutMs;
};
