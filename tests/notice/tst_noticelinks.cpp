#include "core/apperror.h"
#include "notice/browserlauncher.h"
#include "notice/http/httpclient.h"
#include "notice/noticelinks.h"
#include "notice/pagefetcher.h"
#include "scriptedserver.h"

#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray gbk(const QString &text)
{
    QStringEncoder encoder("GBK");
    return encoder.encode(text);
}

// One start of the stand-in as it logs it.
QByteArray start(const QString &address)
{
    return QByteArray("1") + '\0' + address.toUtf8() + '\0';
}

QByteArray pageReply(const QByteArray &page)
{
    return "HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(page.size()) + "\r\n\r\n" + page;
}

} // namespace

// The real launcher runs against a stand-in for xdg-open on PATH that logs each start: the number of
// its arguments and the arguments, each ended by NUL.
class TestNoticeLinks : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void opensElement_data();
    void opensElement();
    void refusesWhatIsNoWebAddress_data();
    void refusesWhatIsNoWebAddress();
    void fetchErrorStartsNothing();
    void missingModuleIsReported();
    void pageAddressFromEnvironment();

private:
    QByteArray log() const;
    // Starts the browser once more and waits for that start alone in the log, so that any start
    // before it would have shown.
    void expectNoEarlierStart();

    QTemporaryDir m_dir;
    QString m_logPath;
    DesktopBrowserLauncher m_launcher;
};

void TestNoticeLinks::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_logPath = m_dir.filePath("starts.log");
    QFile script(m_dir.filePath("xdg-open"));
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\nprintf '%s\\0' \"$#\" \"$@\" >> '" + m_logPath.toUtf8() + "'\n");
    script.close();
    QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    qputenv("PATH", m_dir.path().toUtf8() + ':' + qgetenv("PATH"));
}

void TestNoticeLinks::init()
{
    QFile::remove(m_logPath);
}

QByteArray TestNoticeLinks::log() const
{
    QFile file(m_logPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestNoticeLinks::expectNoEarlierStart()
{
    m_launcher.launch(QStringLiteral("http://sentinel.example/"));
    QTRY_COMPARE(log(), start(QStringLiteral("http://sentinel.example/")));
}

void TestNoticeLinks::opensElement_data()
{
    QTest::addColumn<QByteArray>("page");
    QTest::addColumn<int>("element");
    QTest::addColumn<QString>("address");

    const QByteArray page =
        "<html><zeqa1>https://soft.example/</zeqa1> <zeqa2>http://info.example/more?from=orvane</zeqa2>";
    QTest::newRow("element 2") << page << 2 << "http://info.example/more?from=orvane";
    QTest::newRow("element 1") << page << 1 << "https://soft.example/";
    QTest::newRow("shell characters stay in the one argument")
        << QByteArray("<zeqa2>http://x.example/a;b&c=$(id)'q'</zeqa2>") << 2 << "http://x.example/a;b&c=$(id)'q'";
    QTest::newRow("upper-case scheme, port")
        << QByteArray("<zeqa2>HTTPS://X.EXAMPLE:8443/</zeqa2>") << 2 << "HTTPS://X.EXAMPLE:8443/";
    QTest::newRow("address in GBK") << gbk(QStringLiteral("<zeqa2>http://例子.example/路径</zeqa2>")) << 2
                                    << "http://例子.example/路径";
}

void TestNoticeLinks::opensElement()
{
    QFETCH(QByteArray, page);
    QFETCH(int, element);
    QFETCH(QString, address);
    ScriptedServer server;
    server.add(pageReply(page));
    HttpClient client;
    NoticeLinks links(client, m_launcher, server.address());
    QVERIFY(links.open(element));
    QTRY_COMPARE(log(), start(address));
}

void TestNoticeLinks::refusesWhatIsNoWebAddress_data()
{
    QTest::addColumn<QByteArray>("page");

    const auto row = [](const char *name, const QByteArray &element) {
        QTest::newRow(name) << "<zeqa2>" + element + "</zeqa2>";
    };
    row("empty element", "");
    row("leading '-'", "-http://x.example/");
    row("an option", "--help");
    row("file", "file:///etc/passwd");
    row("javascript", "javascript:alert(1)");
    row("newline inside the scheme", "ht\ntp://x.example/");
    row("line break after the address", "http://x.example/\r\n");
    row("blank before the address", " http://x.example/");
    row("other scheme", "ftp://x.example/");
    row("no host", "http:///index.html");
    QTest::newRow("closing tag missing") << QByteArray("<zeqa2>http://x.example/");
}

void TestNoticeLinks::refusesWhatIsNoWebAddress()
{
    QFETCH(QByteArray, page);
    ScriptedServer server;
    server.add(pageReply(page));
    HttpClient client;
    NoticeLinks links(client, m_launcher, server.address());
    QVERIFY(!links.open(2));
    expectNoEarlierStart();
}

void TestNoticeLinks::fetchErrorStartsNothing()
{
    ScriptedServer server;
    server.add("HTTP/1.1 302 Found\r\nLocation: http://x.example/\r\nContent-Length: 0\r\n\r\n");
    HttpClient client;
    NoticeLinks links(client, m_launcher, server.address());
    QString error;
    try {
        links.open(2);
    } catch (const AppError &e) {
        error = e.message();
    }
    QCOMPARE(error, QStringLiteral("HTTP/1.1 302 Found"));
    expectNoEarlierStart();
}

// This test program has no notice module beside it: the fetch fails with a reason instead of crashing.
void TestNoticeLinks::missingModuleIsReported()
{
    ModulePageFetcher fetcher;
    NoticeLinks links(fetcher, m_launcher, QStringLiteral("http://127.0.0.1:9/index.html"));
    QString error;
    try {
        links.open(1);
    } catch (const AppError &e) {
        error = e.message();
    }
    QVERIFY2(error.startsWith(QStringLiteral("无法载入通知模块：")) && error.contains(QStringLiteral("orvane-notice")),
             qPrintable(error));
    expectNoEarlierStart();
}

void TestNoticeLinks::pageAddressFromEnvironment()
{
    const QByteArray saved = qgetenv("ORVANE_NOTICE_HOST");
    const auto restore = qScopeGuard([&saved] { qputenv("ORVANE_NOTICE_HOST", saved); });
    qunsetenv("ORVANE_NOTICE_HOST");
    QCOMPARE(noticePageAddress(), QStringLiteral("http://notice.example.com/index.html"));

    ScriptedServer server;
    server.add(pageReply("<zeqa2>http://info.example/</zeqa2>"));
    qputenv("ORVANE_NOTICE_HOST", "127.0.0.1:" + QByteArray::number(server.port()));
    HttpClient client;
    NoticeLinks links(client, m_launcher);
    QVERIFY(links.open(2));
    QCOMPARE(server.requests().size(), 1);
    QTRY_COMPARE(log(), start(QStringLiteral("http://info.example/")));
}

QTEST_GUILESS_MAIN(TestNoticeLinks)
#include "tst_noticelinks.moc"
