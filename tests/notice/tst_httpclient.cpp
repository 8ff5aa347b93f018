#include "fetch.h"
#include "notice/fetcherrors.h"
#include "notice/http/httpclient.h"
#include "notice/httprequest.h"
#include "notice/replyparser.h"
#include "scriptedserver.h"

#include <QElapsedTimer>
#include <QTest>
#include <ctime>
#include <memory>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>

namespace {

const QByteArray kOk = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok";
const QByteArray kUserAgent = "User-Agent: Mozilla/3.0 (compatible; Orvane Reminder)\r\n";

QByteArray expectedRequest(const QByteArray &host, const QByteArray &cookieLines = {})
{
    return "GET /index.html HTTP/1.1\r\nContent-Type: text/html\r\nHost: " + host + "\r\nAccept: text/html, */*\r\n"
           + kUserAgent + cookieLines + "\r\n";
}

// A listening socket on 127.0.0.1 whose backlog is full: further connection attempts go unanswered.
class FullBacklog
{
public:
    FullBacklog()
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(m_listener, reinterpret_cast<sockaddr *>(&address), length) != 0 || ::listen(m_listener, 0) != 0
            || ::getsockname(m_listener, reinterpret_cast<sockaddr *>(&address), &length) != 0)
            qFatal("no listening socket");
        m_port = ntohs(address.sin_port);
        m_filler.connectToHost(QHostAddress::LocalHost, m_port);
        if (!m_filler.waitForConnected())
            qFatal("the backlog could not be filled");
    }
    ~FullBacklog() { ::close(m_listener); }
    QString address() const { return QStringLiteral("http://127.0.0.1:%1/index.html").arg(m_port); }

private:
    const int m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
    quint16 m_port = 0;
    QTcpSocket m_filler;
};

// Processor time of the whole process, in milliseconds.
double processorMs()
{
    return 1000.0 * double(std::clock()) / CLOCKS_PER_SEC;
}

} // namespace

class TestHttpClient : public QObject
{
    Q_OBJECT

private slots:
    void replies_data();
    void replies();
    void repliesInAnyPieces_data() { replies_data(); }
    void repliesInAnyPieces();
    void requestOnTheWire_data();
    void requestOnTheWire();
    void cookiesSentBack();
    void folding_data();
    void folding();
    void connectionKeptOrClosed_data();
    void connectionKeptOrClosed();
    void errorBodyDrained_data();
    void errorBodyDrained();
    void silentServerTimesOut();
    void tricklingServerTimesOut();
    void socketErrors();
    void connectAttemptTimesOut();
    void endingMidFetch_data();
    void endingMidFetch();
    void getWhileBusyReplacesTheFetch();
};

void TestHttpClient::replies_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<bool>("close");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("error");

    const QByteArray ok = "HTTP/1.1 200 OK\r\n";
    const QByteArray mebibyte(1 << 20, 'x');
    QTest::newRow("content length") << ok + "Content-Length: 5\r\n\r\nhello" << false << QByteArray("hello") << "";
    QTest::newRow("content length, closed early")
        << ok + "Content-Length: 10\r\n\r\nhel" << true << QByteArray("hel") << "";
    QTest::newRow("huge claimed length") << ok + "Content-Length: 9223372036854775807\r\n\r\nhello" << true
                                         << QByteArray("hello") << "";
    QTest::newRow("chunked") << ok + "Transfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n6 ext\r\n world\r\n0\r\n\r\n"
                             << false << QByteArray("hello world") << "";
    QTest::newRow("chunk extensions") << ok
                                             + "Transfer-Encoding: chunked\r\n\r\n5;name=value\r\nhello\r\n"
                                               "6 ; a=\"b;c\"\r\n world\r\n0;last\r\n\r\n"
                                      << false << QByteArray("hello world") << "";
    QTest::newRow("chunked, trailer fields") << ok
                                                    + "transfer-encoding: Chunked\r\n\r\n2\r\nok\r\n0\r\n"
                                                      "X-Trailer: a\r\nX-Other: b\r\n\r\n"
                                             << false << QByteArray("ok") << "";
    QTest::newRow("chunked wins over content length")
        << ok + "Content-Length: 3\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n0\r\n\r\n"
        << false << QByteArray("hello") << "";
    QTest::newRow("other transfer coding: read to close")
        << ok + "Transfer-Encoding: gzip\r\nContent-Length: 3\r\n\r\nabcdef" << true << QByteArray("abcdef") << "";
    QTest::newRow("equal lengths in a list")
        << ok + "Content-Length: 11, 11\r\n\r\nhello world" << false << QByteArray("hello world") << "";
    QTest::newRow("equal lengths on two lines")
        << ok + "Content-Length: 5\r\nContent-Length: 5\r\n\r\nhello" << false << QByteArray("hello") << "";
    QTest::newRow("chunked, huge claimed size")
        << ok + "Transfer-Encoding: chunked\r\n\r\n7fffffffffffffff\r\nhello" << true << QByteArray("hello") << "";
    QTest::newRow("read to close") << QByteArray("HTTP/1.0 200 OK\r\nServer: test\r\n\r\nto the end") << true
                                   << QByteArray("to the end") << "";
    QTest::newRow("content length 0") << ok + "Content-Length: 0\r\n\r\n" << false << QByteArray() << "";
    QTest::newRow("204") << QByteArray("HTTP/1.1 204 No Content\r\n\r\n") << false << QByteArray() << "";
    QTest::newRow("100 then 200") << "HTTP/1.1 100 Continue\r\nX-A: b\r\n\r\n" + kOk << false << QByteArray("ok") << "";
    QTest::newRow("1 MiB body") << ok + "Content-Length: 1048576\r\n\r\n" + mebibyte << false << mebibyte << "";
    QTest::newRow("longest header line") << ok + "X-Long: " + QByteArray(16376, 'a') + "\r\nContent-Length: 2\r\n\r\nok"
                                         << false << QByteArray("ok") << "";

    QTest::newRow("302 with Location") << QByteArray("HTTP/1.1 302 Found\r\nLocation: http://elsewhere/\r\n"
                                                     "Content-Length: 3\r\n\r\nabc")
                                       << false << QByteArray() << "HTTP/1.1 302 Found";
    QTest::newRow("200 with Location") << ok + "Location: /other.html\r\nContent-Length: 2\r\n\r\nok" << false
                                       << QByteArray() << "HTTP/1.1 200 OK";
    QTest::newRow("404") << QByteArray("HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\n\r\nnot found") << false
                         << QByteArray() << "HTTP/1.1 404 Not Found";
    QTest::newRow("304") << QByteArray("HTTP/1.1 304 Not Modified\r\nContent-Length: 0\r\n\r\n") << false
                         << QByteArray() << "HTTP/1.1 304 Not Modified";
    QTest::newRow("code not a number") << QByteArray("HTTP/1.1 2OO OK\r\nContent-Length: 0\r\n\r\n") << false
                                       << QByteArray() << "HTTP/1.1 2OO OK";
    QTest::newRow("status line in GBK") << QByteArray("HTTP/1.1 404 \xd5\xd2\xb2\xbb\xb5\xbd\r\n\r\n") << true
                                        << QByteArray() << "HTTP/1.1 404 找不到";
    QTest::newRow("error reply cut off") << QByteArray("HTTP/1.1 500 Oops\r\nContent-Length: 3\r\n") << true
                                         << QByteArray() << "HTTP/1.1 500 Oops";
    QTest::newRow("header line too long") << ok + "X-Long: " + QByteArray(16377, 'a') + "\r\n\r\n"
                                          << false << QByteArray() << kMaxLineLengthExceeded;
    QTest::newRow("status line too long")
        << "HTTP/1.1 200 " + QByteArray(20000, 'a') << false << QByteArray() << kMaxLineLengthExceeded;
    QTest::newRow("closed before status line") << QByteArray() << true << QByteArray() << kConnectionClosedGracefully;
    QTest::newRow("closed inside status line")
        << QByteArray("HTTP/1.1 200") << true << QByteArray() << kConnectionClosedGracefully;
    const QByteArray chunked = ok + "Transfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n";
    QTest::newRow("chunk size not hexadecimal") << chunked + "5x\r\nworld\r\n0\r\n\r\n"
                                                << true << QByteArray() << kInvalidReplyLength.text();
    QTest::newRow("chunk size with a sign") << chunked + "+5\r\nworld\r\n0\r\n\r\n"
                                            << true << QByteArray() << kInvalidReplyLength.text();
    QTest::newRow("chunk size missing") << chunked + ";x\r\n\r\n" << true << QByteArray() << kInvalidReplyLength.text();
    QTest::newRow("chunk size over 64 bits")
        << chunked + "10000000000000000\r\nhello" << true << QByteArray() << kInvalidReplyLength.text();
    QTest::newRow("different lengths in a list")
        << ok + "Content-Length: 5, 11\r\n\r\nhello world" << true << QByteArray() << kInvalidReplyLength.text();
    QTest::newRow("different lengths on two lines") << ok + "Content-Length: 5\r\nContent-Length: 6\r\n\r\nhello!"
                                                    << true << QByteArray() << kInvalidReplyLength.text();
    QTest::newRow("length not a number") << ok + "Content-Length: 5x\r\n\r\nhello" << true << QByteArray()
                                         << kInvalidReplyLength.text();
    QTest::newRow("negative length") << ok + "Content-Length: -1\r\n\r\nhello" << true << QByteArray()
                                     << kInvalidReplyLength.text();
    QTest::newRow("header block cut off") << ok + "Content-Length: 5\r\n"
                                          << true << QByteArray() << kUndefinedSituation;
    QTest::newRow("body over 1 MiB") << ok + "Content-Length: 1048577\r\n\r\n" + mebibyte + 'x' << false << QByteArray()
                                     << kReplyTooLarge.text();
    QTest::newRow("chunked body over 1 MiB")
        << ok + "Transfer-Encoding: chunked\r\n\r\n100000\r\n" + mebibyte + "\r\n1\r\nx\r\n0\r\n\r\n"
        << false << QByteArray() << kReplyTooLarge.text();
    QTest::newRow("read-to-close body over 1 MiB")
        << ok + "\r\n" + mebibyte + 'x' << true << QByteArray() << kReplyTooLarge.text();
    QTest::newRow("error body over 1 MiB")
        << "HTTP/1.1 500 Oops\r\n\r\n" + mebibyte + 'x' << true << QByteArray() << kReplyTooLarge.text();
    QByteArray manyHeaders = ok;
    for (int i = 0; i < 80; ++i)
        manyHeaders += "X-Filler: " + QByteArray(16000, 'f') + "\r\n";
    QTest::newRow("header block over 1 MiB") << manyHeaders + "\r\n" << false << QByteArray() << kReplyTooLarge.text();
}

void TestHttpClient::replies()
{
    QFETCH(QByteArray, reply);
    QFETCH(bool, close);
    QFETCH(QByteArray, body);
    QFETCH(QString, error);
    ScriptedServer server;
    server.add(reply, close);
    HttpClient client;
    const std::optional<FetchOutcome> outcome = fetch(client, server.address());
    QVERIFY(outcome);
    QCOMPARE(outcome->error, error);
    QCOMPARE(outcome->body, body);
}

// The parser alone, handed the reply whole and one byte at a time: the outcome may not depend on where
// the pieces break.
void TestHttpClient::repliesInAnyPieces()
{
    QFETCH(QByteArray, reply);
    QFETCH(bool, close);
    QFETCH(QByteArray, body);
    QFETCH(QString, error);
    for (const qsizetype pieceSize : {reply.size() + 1, qsizetype(1)}) {
        ReplyParser parser;
        for (qsizetype at = 0; at < reply.size() && !parser.isFinished(); at += pieceSize)
            parser.feed(QByteArrayView(reply).sliced(at, qMin(pieceSize, reply.size() - at)));
        if (close)
            parser.close();
        QVERIFY2(parser.isFinished(), qPrintable(QStringLiteral("pieces of %1").arg(pieceSize)));
        QCOMPARE(parser.error(), error);
        QCOMPARE(parser.body(), body);
    }
}

void TestHttpClient::requestOnTheWire_data()
{
    QTest::addColumn<QString>("host");
    QTest::newRow("dotted address") << "127.0.0.1";
    QTest::newRow("localhost in any case") << "LocalHost";
}

void TestHttpClient::requestOnTheWire()
{
    QFETCH(QString, host);
    ScriptedServer server;
    server.add(kOk);
    HttpClient client;
    const QString address = QStringLiteral("http://%1:%2/index.html").arg(host).arg(server.port());
    const std::optional<FetchOutcome> outcome = fetch(client, address);
    QVERIFY(outcome);
    QCOMPARE(outcome->body, QByteArray("ok"));
    QCOMPARE(server.requests(), {expectedRequest(host.toLower().toLatin1() + ':' + QByteArray::number(server.port()))});
}

void TestHttpClient::cookiesSentBack()
{
    ScriptedServer server;
    server.add("HTTP/1.1 200 OK\r\nSet-Cookie: sid=abc; Path=/; HttpOnly\r\nSet-Cookie2: lang=\"zh\"; "
               "Version=\"1\"\r\n"
               "Set-Cookie: elsewhere=1; Path=/other\r\nSet-Cookie: blank=; Path=/\r\nContent-Length: 2\r\n\r\nok");
    const QByteArray longValue(70, 'v');
    // Cookies of a reply that is not followed count as well.
    server.add("HTTP/1.1 404 Not Found\r\nSet-Cookie: sid=def\r\nSet-Cookie: lang=x; Max-Age=0\r\nSet-Cookie: long="
               + longValue + "\r\nContent-Length: 0\r\n\r\n");
    server.add(kOk);
    HttpClient client;
    for (int i = 0; i < 3; ++i)
        QVERIFY(fetch(client, server.address()));
    const QByteArray host = "127.0.0.1:" + QByteArray::number(server.port());
    QCOMPARE(server.requests(),
             QList<QByteArray>({expectedRequest(host), expectedRequest(host, "Cookie: sid=abc; lang=\"zh\"\r\n"),
                                expectedRequest(host, "Cookie: sid=def;\r\n long=" + longValue + "\r\n")}));

    HttpClient another;
    server.add(kOk);
    QVERIFY(fetch(another, server.address()));
    QCOMPARE(server.requests().last(), expectedRequest(host));
}

void TestHttpClient::folding_data()
{
    QTest::addColumn<QByteArray>("host");
    QTest::addColumn<QByteArray>("cookies");
    QTest::addColumn<QByteArray>("lines");

    const QByteArray rest = "Accept: text/html, */*\r\n" + kUserAgent;
    const QByteArray longHost = QByteArray(70, 'h') + ".example.com";
    QTest::newRow("long host") << longHost << QByteArray() << "Host:\r\n " + longHost + "\r\n" + rest;
    QTest::newRow("host line of 78 characters")
        << QByteArray(72, 'h') << QByteArray() << "Host: " + QByteArray(72, 'h') + "\r\n" + rest;
    const QByteArray a(20, 'a'), b(20, 'b'), c(20, 'c');
    QTest::newRow("cookies at the last blank that fits")
        << QByteArray("h") << "alpha=" + a + "; beta=" + b + "; gamma=" + c
        << "Host: h\r\n" + rest + "Cookie: alpha=" + a + "; beta=" + b + ";\r\n gamma=" + c + "\r\n";
    QTest::newRow("cookie at commas") << QByteArray("h") << "list=" + a + ',' + b + ',' + c + ',' + a
                                      << "Host: h\r\n" + rest + "Cookie: list=" + a + ',' + b + ',' + c + ",\r\n " + a
                                             + "\r\n";
    const QByteArray x(90, 'x'), y(90, 'y');
    QTest::newRow("no fold point in reach")
        << QByteArray("h") << "x=" + x + "; y=" + y + "; z=1"
        << "Host: h\r\n" + rest + "Cookie:\r\n x=" + x + ";\r\n y=" + y + ";\r\n z=1\r\n";
}

void TestHttpClient::folding()
{
    QFETCH(QByteArray, host);
    QFETCH(QByteArray, cookies);
    QFETCH(QByteArray, lines);
    QCOMPARE(httpRequest("/index.html", host, cookies),
             "GET /index.html HTTP/1.1\r\nContent-Type: text/html\r\n" + lines + "\r\n");
}

void TestHttpClient::connectionKeptOrClosed_data()
{
    using Reply = ScriptedServer::Reply;
    QTest::addColumn<QList<Reply>>("first");
    QTest::addColumn<int>("connections");
    QTest::addColumn<int>("requests");

    QTest::newRow("kept open") << QList<Reply>{{{kOk}}} << 1 << 2;
    QTest::newRow("error reply drained, kept open")
        << QList<Reply>{{{"HTTP/1.1 404 Not Found\r\nContent-Length: 3\r\n\r\nnot"}}} << 1 << 2;
    QTest::newRow("Connection: close")
        << QList<Reply>{{{"HTTP/1.1 200 OK\r\nConnection: close\r\nContent-Length: 2\r\n\r\nok"}}} << 2 << 2;
    QTest::newRow("Proxy-Connection: close")
        << QList<Reply>{{{"HTTP/1.1 200 OK\r\nProxy-Connection:  CLOSE \r\nContent-Length: 2\r\n\r\nok"}}} << 2 << 2;
    QTest::newRow("closed by the server after the reply") << QList<Reply>{{{kOk}, 0, true}} << 2 << 2;
    QTest::newRow("unasked bytes after the body") << QList<Reply>{{{kOk + "surplus"}}} << 2 << 2;
    QTest::newRow("unasked bytes later") << QList<Reply>{{{kOk, "surplus"}, 20}} << 2 << 2;
    // The server closes the kept connection just as the next request comes: it goes again on a new one.
    QTest::newRow("closed as the next request came") << QList<Reply>{{{kOk}}, {{}, 0, true}} << 2 << 3;
}

void TestHttpClient::connectionKeptOrClosed()
{
    QFETCH(QList<ScriptedServer::Reply>, first);
    QFETCH(int, connections);
    QFETCH(int, requests);
    ScriptedServer server;
    for (const ScriptedServer::Reply &reply : first)
        server.add(reply);
    server.add(kOk);
    HttpClient client;
    QVERIFY(fetch(client, server.address()));
    QTest::qWait(100);
    const std::optional<FetchOutcome> outcome = fetch(client, server.address());
    QVERIFY(outcome);
    QCOMPARE(outcome->body, QByteArray("ok"));
    QCOMPARE(server.connections(), connections);
    QCOMPARE(server.requests().size(), requests);
}

void TestHttpClient::errorBodyDrained_data()
{
    QTest::addColumn<QList<QByteArray>>("pieces");
    QTest::addColumn<QString>("error");

    const QByteArray head = "HTTP/1.1 404 Not Found\r\nContent-Length: 10\r\n\r\n";
    QTest::newRow("trickles to its end") << QList<QByteArray>{head, "ab", "cd", "ef", "gh", "ij"}
                                         << "HTTP/1.1 404 Not Found";
    QTest::newRow("stops short") << QList<QByteArray>{head, "ab", "cd"} << kReadTimeout;
}

void TestHttpClient::errorBodyDrained()
{
    QFETCH(QList<QByteArray>, pieces);
    QFETCH(QString, error);
    ScriptedServer server;
    server.add({pieces, 200, false});
    HttpClient client;
    const std::optional<FetchOutcome> outcome = fetch(client, server.address());
    QVERIFY(outcome);
    QCOMPARE(outcome->error, error);
}

void TestHttpClient::silentServerTimesOut()
{
    ScriptedServer server;
    HttpClient client;
    client.setReadTimeout(300);
    std::optional<FetchOutcome> outcome = fetch(client, server.address());
    QVERIFY(outcome);
    QCOMPARE(outcome->error, kReadTimeout);

    server.add({{"HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhe"}, 0, false});
    outcome = fetch(client, server.address());
    QVERIFY(outcome);
    QCOMPARE(outcome->error, kReadTimeout);
}

// A server that sends a byte now and then, each within the silence limit, cannot hold the fetch for long.
void TestHttpClient::tricklingServerTimesOut()
{
    ScriptedServer server;
    server.add(
        {QList<QByteArray>{"HTTP/1.1 200 OK\r\nContent-Length: 20\r\n\r\n"} + QList<QByteArray>(20, "x"), 100, false});
    HttpClient client;
    client.setReadTimeout(400);
    client.setFetchTimeout(800);
    QElapsedTimer clock;
    clock.start();
    const std::optional<FetchOutcome> outcome = fetch(client, server.address());
    QVERIFY(outcome);
    QCOMPARE(outcome->error, kReadTimeout);
    QVERIFY2(clock.elapsed() < 1500, qPrintable(QString::number(clock.elapsed())));
}

void TestHttpClient::socketErrors()
{
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost));
    const quint16 port = closed.serverPort();
    closed.close();
    const QString refused = QStringLiteral("http://127.0.0.1:%1/index.html").arg(port);
    const QString unknown = QStringLiteral("http://no-such-host.invalid/index.html");
    const QString notHttp = QStringLiteral("ftp://127.0.0.1/index.html");
    HttpClient client;
    for (const auto &[address, error] :
         {std::pair(refused, QStringLiteral("Socket Error # 10061\r\nConnection refused.")),
          std::pair(unknown, QStringLiteral("Socket Error # 11001\r\nHost not found.")),
          std::pair(notHttp, kInvalidPageAddress + notHttp)}) {
        const std::optional<FetchOutcome> outcome = fetch(client, address);
        QVERIFY(outcome);
        QCOMPARE(outcome->error, error);
    }
}

void TestHttpClient::connectAttemptTimesOut()
{
    FullBacklog unanswered;
    HttpClient client;
    client.setConnectTimeout(500);
    const std::optional<FetchOutcome> outcome = fetch(client, unanswered.address());
    QVERIFY(outcome);
    QCOMPARE(outcome->error, QStringLiteral("Socket Error # 10060\r\nConnection timed out."));
}

void TestHttpClient::endingMidFetch_data()
{
    QTest::addColumn<QString>("stage");
    QTest::addColumn<bool>("destroy");

    for (const char *stage : {"connecting", "waiting for the reply", "in the body", "reporting"}) {
        QTest::addRow("abort, %s", stage) << stage << false;
        QTest::addRow("destroy, %s", stage) << stage << true;
    }
}

// The program may quit, and the window go, at any moment of a fetch: abort() and the destructor end it at
// once, with no signal, and leave nothing that keeps the processor busy or the connection open.
void TestHttpClient::endingMidFetch()
{
    QFETCH(QString, stage);
    QFETCH(bool, destroy);
    FullBacklog unanswered;
    ScriptedServer server;
    if (stage == "in the body")
        server.add({{"HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhe"}, 0, false});
    auto client = std::make_unique<HttpClient>();
    QSignalSpy fetched(client.get(), &NoticeClient::fetched);
    QSignalSpy failed(client.get(), &NoticeClient::failed);
    if (stage == "connecting") {
        client->get(unanswered.address());
        QTest::qWait(100);
    } else if (stage == "reporting") {
        client->get(QStringLiteral("ftp://127.0.0.1/"));
    } else {
        client->get(server.address());
        QTRY_COMPARE(server.requests().size(), 1);
        QTest::qWait(100);
    }
    QVERIFY(client->isBusy());

    if (destroy) {
        client.reset();
    } else {
        client->abort();
        QVERIFY(!client->isBusy());
    }
    const double start = processorMs();
    QTest::qWait(300);
    QVERIFY2(processorMs() - start < 100, qPrintable(QStringLiteral("%1 ms").arg(processorMs() - start)));
    QCOMPARE(fetched.count() + failed.count(), 0);
    QCOMPARE(server.closedConnections(), server.connections());
}

void TestHttpClient::getWhileBusyReplacesTheFetch()
{
    ScriptedServer silent;
    ScriptedServer server;
    server.add(kOk);
    HttpClient client;
    QSignalSpy failed(&client, &NoticeClient::failed);
    client.get(silent.address());
    QTRY_COMPARE(silent.requests().size(), 1);
    const std::optional<FetchOutcome> outcome = fetch(client, server.address());
    QVERIFY(outcome);
    QCOMPARE(outcome->body, QByteArray("ok"));
    QTRY_COMPARE(silent.closedConnections(), 1);
    QCOMPARE(failed.count(), 0);
}

QTEST_GUILESS_MAIN(TestHttpClient)
#include "tst_httpclient.moc"
