#include "notice/browserlauncher.h"
#include "notice/http/httpclient.h"
#include "notice/modulenoticeclient.h"
#include "notice/noticelinks.h"
#include "scriptedserver.h"
#include "tests/support/recordingbrowser.h"

#include <QFile>
#include <QScopeGuard>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

QByteArray gbk(const QString &text)
{
    QStringEncoder encoder("GBK");
    return encoder.encode(text);
}

QByteArray pageReply(const QByteArray &page)
{
    return "HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(page.size()) + "\r\n\r\n" + page;
}

// One start of the stand-in for xdg-open as it logs it: the number of its arguments and the arguments,
// each ended by NUL.
QByteArray start(const QString &address)
{
    return QByteArray("1") + '\0' + address.toUtf8() + '\0';
}

} // namespace

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
    void secondOpenWhileBusyIsIgnored();
    void destroyedMidFetch();
    void missingModuleIsReported();
    void pageAddressFromEnvironment();
    void desktopBrowserGetsOneArgument_data();
    void desktopBrowserGetsOneArgument();

private:
    // Records what the links tell, in order: "busy", "idle", "failed: <message>", "no address".
    void watch(NoticeLinks &links);

    QStringList m_told;
    RecordingBrowser m_browser;
    QTemporaryDir m_dir;
    QString m_startLog;
};

// The desktop's browser is a stand-in on PATH that logs each start.
void TestNoticeLinks::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_startLog = m_dir.filePath("starts.log");
    QFile script(m_dir.filePath("xdg-open"));
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\nprintf '%s\\0' \"$#\" \"$@\" >> '" + m_startLog.toUtf8() + "'\n");
    script.close();
    QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    qputenv("PATH", m_dir.path().toUtf8() + ':' + qgetenv("PATH"));
}

void TestNoticeLinks::init()
{
    m_told.clear();
    m_browser.launched.clear();
}

void TestNoticeLinks::watch(NoticeLinks &links)
{
    connect(&links, &NoticeLinks::busyChanged, this,
            [this](bool busy) { m_told << (busy ? QStringLiteral("busy") : QStringLiteral("idle")); });
    connect(&links, &NoticeLinks::failed, this,
            [this](const QString &message) { m_told << QStringLiteral("failed: ") + message; });
    connect(&links, &NoticeLinks::noAddress, this, [this] { m_told << QStringLiteral("no address"); });
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
    QTest::newRow("upper-case scheme, port")
        << QByteArray("<zeqa2>HTTPS://X.EXAMPLE:8443/</zeqa2>") << 2 << "HTTPS://X.EXAMPLE:8443/";
    QTest::newRow("address in GBK") << gbk(QStringLiteral("<zeqa2>http://例子.example/路径</zeqa2>")) << 2
                                    << "http://例子.example/路径";
    QTest::newRow("line break after the address")
        << QByteArray("<zeqa2>http://x.example/\r\n</zeqa2>") << 2 << "http://x.example/";
    QTest::newRow("blanks and line breaks around the address")
        << gbk(QStringLiteral("<zeqa2>\r\n \t\u3000http://x.example/a \n</zeqa2>")) << 2 << "http://x.example/a";
}

void TestNoticeLinks::opensElement()
{
    QFETCH(QByteArray, page);
    QFETCH(int, element);
    QFETCH(QString, address);
    ScriptedServer server;
    server.add(pageReply(page));
    HttpClient client;
    NoticeLinks links(client, m_browser, server.address());
    watch(links);
    links.open(element);
    QCOMPARE(m_told, QStringList{"busy"});
    QVERIFY(links.isBusy());
    QTRY_COMPARE(m_told, QStringList({"busy", "idle"}));
    QVERIFY(!links.isBusy());
    QCOMPARE(m_browser.launched, QStringList{address});
}

void TestNoticeLinks::refusesWhatIsNoWebAddress_data()
{
    QTest::addColumn<QByteArray>("page");

    const auto row = [](const char *name, const QByteArray &element) {
        QTest::newRow(name) << "<zeqa2>" + element + "</zeqa2>";
    };
    row("empty element", "");
    row("only blanks and line breaks", " \r\n\t ");
    row("leading '-'", "-http://x.example/");
    row("an option", "--help");
    row("file", "file:///etc/passwd");
    row("javascript", "javascript:alert(1)");
    row("newline inside the scheme", "ht\ntp://x.example/");
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
    NoticeLinks links(client, m_browser, server.address());
    watch(links);
    links.open(2);
    QTRY_COMPARE(m_told, QStringList({"busy", "idle", "no address"}));
    QCOMPARE(m_browser.launched, QStringList());
}

void TestNoticeLinks::fetchErrorStartsNothing()
{
    ScriptedServer server;
    server.add("HTTP/1.1 302 Found\r\nLocation: http://x.example/\r\nContent-Length: 0\r\n\r\n");
    HttpClient client;
    NoticeLinks links(client, m_browser, server.address());
    watch(links);
    links.open(2);
    QTRY_COMPARE(m_told, QStringList({"busy", "idle", "failed: HTTP/1.1 302 Found"}));
    QCOMPARE(m_browser.launched, QStringList());
}

void TestNoticeLinks::secondOpenWhileBusyIsIgnored()
{
    const QByteArray page = "<zeqa1>https://soft.example/</zeqa1><zeqa2>http://info.example/</zeqa2>";
    ScriptedServer server;
    server.add({{pageReply(page).chopped(page.size()), page}, 200, false});
    HttpClient client;
    NoticeLinks links(client, m_browser, server.address());
    watch(links);
    links.open(2);
    links.open(1);
    QTRY_COMPARE(m_told, QStringList({"busy", "idle"}));
    QCOMPARE(m_browser.launched, QStringList{"http://info.example/"});
    QCOMPARE(server.requests().size(), 1);
}

// The window goes while its fetch runs: the fetch ends with it, and nothing is told or started.
void TestNoticeLinks::destroyedMidFetch()
{
    ScriptedServer silent;
    HttpClient client;
    auto links = std::make_unique<NoticeLinks>(client, m_browser, silent.address());
    watch(*links);
    links->open(2);
    QTRY_COMPARE(silent.requests().size(), 1);
    links.reset();
    QVERIFY(!client.isBusy());
    QTRY_COMPARE(silent.closedConnections(), 1);
    QCOMPARE(m_told, QStringList{"busy"});
    QCOMPARE(m_browser.launched, QStringList());
}

// This test program has no notice module beside it: the fetch fails with a reason instead of crashing.
void TestNoticeLinks::missingModuleIsReported()
{
    ModuleNoticeClient client;
    NoticeLinks links(client, m_browser, QStringLiteral("http://127.0.0.1:9/index.html"));
    watch(links);
    links.open(1);
    QCOMPARE(m_told, QStringList{"busy"});
    QTRY_COMPARE(m_told.size(), 3);
    QCOMPARE(m_told.at(1), QStringLiteral("idle"));
    const QString &failure = m_told.at(2);
    QVERIFY2(failure.startsWith(QStringLiteral("failed: 无法载入通知模块：")) && failure.contains("orvane-notice"),
             qPrintable(failure));
    QCOMPARE(m_browser.launched, QStringList());
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
    NoticeLinks links(client, m_browser);
    links.open(2);
    QTRY_COMPARE(m_browser.launched, QStringList{"http://info.example/"});
    QCOMPARE(server.requests().size(), 1);
}

void TestNoticeLinks::desktopBrowserGetsOneArgument_data()
{
    QTest::addColumn<QByteArray>("page");
    QTest::addColumn<QString>("address");

    QTest::newRow("shell characters") << QByteArray("<zeqa2>http://x.example/a;b&c=$(id)'q'</zeqa2>")
                                      << "http://x.example/a;b&c=$(id)'q'";
    QTest::newRow("address in GBK") << gbk(QStringLiteral("<zeqa2>http://例子.example/路径</zeqa2>"))
                                    << "http://例子.example/路径";
}

// No shell stands between the links and the browser: the address arrives as its one argument.
void TestNoticeLinks::desktopBrowserGetsOneArgument()
{
    QFETCH(QByteArray, page);
    QFETCH(QString, address);
    QFile::remove(m_startLog);
    ScriptedServer server;
    server.add(pageReply(page));
    HttpClient client;
    DesktopBrowserLauncher launcher;
    NoticeLinks links(client, launcher, server.address());
    links.open(2);
    const auto log = [this] {
        QFile file(m_startLog);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    QTRY_COMPARE(log(), start(address));
}

QTEST_GUILESS_MAIN(TestNoticeLinks)
#include "tst_noticelinks.moc"
