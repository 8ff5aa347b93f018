#include "fetch.h"
#include "notice/modulenoticeclient.h"
#include "notice/noticelinks.h"
#include "scriptedserver.h"
#include "tests/support/recordingbrowser.h"

#include <QTest>
#include <memory>

// The notice client as the program has it: the module beside this test is loaded, and its client, built on
// the module's own copy of the notice library, speaks through this copy's signals.
class TestNoticeModule : public QObject
{
    Q_OBJECT

private slots:
    void fetchesThroughTheModule();
    void linksOpenThroughTheModule();
    void destroyingEndsTheModulesFetch();
};

void TestNoticeModule::fetchesThroughTheModule()
{
    ScriptedServer server;
    server.add("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok");
    server.add("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n");
    ModuleNoticeClient client;
    std::optional<FetchOutcome> outcome = fetch(client, server.address());
    QVERIFY(outcome);
    QCOMPARE(outcome->body, QByteArray("ok"));
    outcome = fetch(client, server.address());
    QVERIFY(outcome);
    QCOMPARE(outcome->error, QStringLiteral("HTTP/1.1 404 Not Found"));
    QCOMPARE(server.connections(), 1);
}

void TestNoticeModule::linksOpenThroughTheModule()
{
    const QByteArray page = "<zeqa2>http://info.example/</zeqa2>";
    ScriptedServer server;
    server.add("HTTP/1.1 200 OK\r\n\r\n" + page, true);
    ModuleNoticeClient client;
    RecordingBrowser browser;
    NoticeLinks links(client, browser, server.address());
    links.open(2);
    QTRY_COMPARE(browser.launched, QStringList{"http://info.example/"});
    QVERIFY(!links.isBusy());
}

void TestNoticeModule::destroyingEndsTheModulesFetch()
{
    ScriptedServer silent;
    auto client = std::make_unique<ModuleNoticeClient>();
    QSignalSpy fetched(client.get(), &NoticeClient::fetched);
    QSignalSpy failed(client.get(), &NoticeClient::failed);
    client->get(silent.address());
    QTRY_COMPARE(silent.requests().size(), 1);
    QVERIFY(client->isBusy());
    client.reset();
    QTRY_COMPARE(silent.closedConnections(), 1);
    QTest::qWait(100);
    QCOMPARE(fetched.count() + failed.count(), 0);
}

QTEST_GUILESS_MAIN(TestNoticeModule)
#include "tst_noticemodule.moc"
