#pragma once

#include "notice/cookiejar.h"
#include "notice/pagefetcher.h"

#include <QByteArray>
#include <QString>
#include <memory>

class QTcpSocket;

// HTTP1's class: the manager window's HTTP/1.1 client for the notice page. It keeps the cookies that
// replies set and a connection that the server leaves open for as long as it lives. No proxy, no
// credentials, redirects not followed. One fetch at a time: a fetch's wait runs timers, so nothing a
// timer does may start another fetch on the same client or destroy it.
class HttpClient : public PageFetcher
{
public:
    static constexpr int kDefaultConnectTimeoutMs = 15000;
    static constexpr int kDefaultReadTimeoutMs = 30000;

    HttpClient();
    ~HttpClient() override;
    HttpClient(const HttpClient &) = delete;
    HttpClient &operator=(const HttpClient &) = delete;

    // The body of the reply to a GET of an http address, byte for byte (the page is GBK text). While
    // it waits, timers keep ticking and windows repaint; user input waits until it returns, so the
    // caller shows a busy cursor. Throws AppError with a text of notice/fetcherrors.h (a socket error,
    // kConnectionClosedGracefully, kMaxLineLengthExceeded, kUndefinedSituation, kReadTimeout,
    // kReplyTooLarge, kInvalidPageAddress) or with the status line of a reply that is not followed or
    // not successful.
    QByteArray Get(const QString &address) override;

    // Longest wait for the connection (name look-up included), reported as socket error 10060.
    void setConnectTimeout(int milliseconds) { m_connectTimeoutMs = milliseconds; }
    // Longest silence of the server while a reply is read, reported as kReadTimeout.
    void setReadTimeout(int milliseconds) { m_readTimeoutMs = milliseconds; }

private:
    QTcpSocket &connection(const QString &host, quint16 port);

    CookieJar m_cookies;
    std::unique_ptr<QTcpSocket> m_socket;
    QString m_socketHost;
    quint16 m_socketPort = 0;
    int m_connectTimeoutMs = kDefaultConnectTimeoutMs;
    int m_readTimeoutMs = kDefaultReadTimeoutMs;
};
