#include "caldav/caldavclient.h"
#include "caldav/calendarcreation.h"
#include "caldav/calendardiscovery.h"
#include "caldav/etaglisting.h"
#include "caldav/eventmultiget.h"
#include "caldav/eventwrite.h"
#include "caldav/synccollection.h"
#include "radicaleserver.h"

#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QSslCertificate>
#include <QTcpServer>
#include <QTest>
#include <memory>

namespace {

const QString kCalendarName = QStringLiteral("Orvane日程提醒");

// Waits, a bounded time, for the job to finish; the job goes when the test function ends.
template <class Job> std::unique_ptr<Job> finished(Job *job)
{
    std::unique_ptr<Job> owned(job);
    QSignalSpy spy(job, &CalDavJob::finished);
    if (!spy.wait(20000))
        qWarning("a CalDAV job did not finish in 20 s");
    return owned;
}

QByteArray eventText(const QString &uid, const QString &summary)
{
    return QStringLiteral("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Orvane//Test//ZH\r\nBEGIN:VEVENT\r\n"
                          "UID:%1\r\nDTSTAMP:20261211T000000Z\r\nDTSTART:20261212T090000Z\r\nSUMMARY:%2\r\n"
                          "END:VEVENT\r\nEND:VCALENDAR\r\n")
        .arg(uid, summary)
        .toUtf8();
}

QStringList hrefsOf(const QList<EventVersion> &events)
{
    QStringList hrefs;
    for (const EventVersion &version : events)
        hrefs << version.href;
    hrefs.sort();
    return hrefs;
}

// Runs the program to its end; its output only shows when it fails.
bool run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    const bool ran =
        process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (!ran)
        qWarning("%s failed: %s", qPrintable(program), process.readAll().constData());
    return ran;
}

// A server certificate for the address the tests use.
bool writeExtensions(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly)
           && file.write("subjectAltName=IP:127.0.0.1\nbasicConstraints=CA:FALSE\n") > 0;
}

} // namespace

class TestCalDavRadicale : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void createsCalendar();
    void discoversCalendars_data();
    void discoversCalendars();
    void syncsIncrementally();
    void conditionalWritesRefuseConflicts();
    void expiredSyncTokenAsksForFullSync_data();
    void expiredSyncTokenAsksForFullSync();
    void wrongCredentials_data();
    void wrongCredentials();
    void noServer();
    void timeout();
    void tls_data();
    void tls();

private:
    std::unique_ptr<CalDavClient> client(const QString &user = QStringLiteral("alice"),
                                         const QString &password = QStringLiteral("secret")) const;
    // A new calendar of alice's.
    CalendarInfo newCalendar(CalDavClient &client) const;
    QUrl aliceHome() const { return m_server->root().resolved(QUrl(QStringLiteral("/alice/"))); }

    std::unique_ptr<RadicaleServer> m_server;
};

void TestCalDavRadicale::initTestCase()
{
    m_server = std::make_unique<RadicaleServer>(QStringList{"alice:secret", "bob:hunter2"});
    QVERIFY(m_server->start());
}

std::unique_ptr<CalDavClient> TestCalDavRadicale::client(const QString &user, const QString &password) const
{
    auto client = std::make_unique<CalDavClient>();
    client->setCredentials(user, password);
    return client;
}

CalendarInfo TestCalDavRadicale::newCalendar(CalDavClient &client) const
{
    auto creation = finished(client.createCalendar(aliceHome(), kCalendarName));
    if (creation->error() != CalDavError::None)
        qWarning("the calendar was not made: %s", qPrintable(creation->errorMessage()));
    return creation->calendar();
}

void TestCalDavRadicale::createsCalendar()
{
    auto alice = client();
    const CalendarInfo calendar = newCalendar(*alice);
    QVERIFY(calendar.url.path().startsWith(QStringLiteral("/alice/")));
    QCOMPARE(calendar.displayName, kCalendarName);
    QVERIFY(calendar.acceptsEvents);
    QVERIFY(calendar.supportsSyncCollection);
    QVERIFY(!calendar.ctag.isEmpty());
}

void TestCalDavRadicale::discoversCalendars_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("server root without a path") << QString();
    QTest::newRow("server root") << QStringLiteral("/");
    QTest::newRow("well-known address") << QStringLiteral("/.well-known/caldav");
    QTest::newRow("principal") << QStringLiteral("/alice/");
    QTest::newRow("calendar") << QStringLiteral("calendar");
}

void TestCalDavRadicale::discoversCalendars()
{
    QFETCH(QString, path);
    auto alice = client();
    const CalendarInfo made = newCalendar(*alice);
    QVERIFY(made.url.isValid());
    const bool isCalendar = path == QLatin1String("calendar");
    QUrl address = isCalendar ? made.url : m_server->root();
    if (!isCalendar)
        address.setPath(path);

    auto discovery = finished(alice->discover(address));
    QCOMPARE(discovery->error(), CalDavError::None);
    QCOMPARE(discovery->addressIsCalendar(), isCalendar);
    QCOMPARE(discovery->calendarHome(), isCalendar ? QUrl() : aliceHome());
    const auto calendars = discovery->calendars();
    auto found = std::find_if(calendars.begin(), calendars.end(),
                              [&](const CalendarInfo &calendar) { return calendar.url == made.url; });
    QVERIFY(found != calendars.end());
    QCOMPARE(found->displayName, kCalendarName);
    QVERIFY(found->acceptsEvents);
    QVERIFY(found->supportsSyncCollection);
    QCOMPARE(found->ctag, made.ctag);
}

void TestCalDavRadicale::syncsIncrementally()
{
    auto alice = client();
    const QUrl calendar = newCalendar(*alice).url;
    QVERIFY(calendar.isValid());

    auto first = finished(alice->syncCollection(calendar, QString()));
    QCOMPARE(first->error(), CalDavError::None);
    QVERIFY(first->changed().isEmpty());
    QVERIFY(!first->syncToken().isEmpty());

    const QUrl a = calendar.resolved(QUrl(QStringLiteral("a.ics")));
    const QUrl b = calendar.resolved(QUrl(QStringLiteral("b.ics")));
    auto putA = finished(alice->putEvent(a, eventText(QStringLiteral("a"), QStringLiteral("开会")), QString()));
    auto putB = finished(alice->putEvent(b, eventText(QStringLiteral("b"), QStringLiteral("交报告")), QString()));
    QCOMPARE(putA->error(), CalDavError::None);
    QCOMPARE(putB->error(), CalDavError::None);
    QVERIFY(!putA->etag().isEmpty());
    QVERIFY(putA->etag() != putB->etag());

    auto second = finished(alice->syncCollection(calendar, first->syncToken()));
    QCOMPARE(second->error(), CalDavError::None);
    QCOMPARE(hrefsOf(second->changed()), (QStringList{a.path(), b.path()}));
    for (const EventVersion &version : second->changed())
        QCOMPARE(version.etag, version.href == a.path() ? putA->etag() : putB->etag());
    QVERIFY(second->removed().isEmpty());

    // Nothing changed: one request, nothing to do, the same token.
    const int before = alice->requestCount();
    auto idle = finished(alice->syncCollection(calendar, second->syncToken()));
    QCOMPARE(idle->error(), CalDavError::None);
    QCOMPARE(alice->requestCount() - before, 1);
    QVERIFY(idle->changed().isEmpty());
    QVERIFY(idle->removed().isEmpty());
    QCOMPARE(idle->syncToken(), second->syncToken());

    // The same, found through the listing of servers without sync-collection.
    auto listing = finished(alice->listEtags(calendar));
    QCOMPARE(listing->error(), CalDavError::None);
    QCOMPARE(hrefsOf(listing->events()), hrefsOf(second->changed()));

    // One request per batch, every body with its etag.
    const int beforeFetch = alice->requestCount();
    auto fetch = finished(alice->multiget(calendar, {a.path(), b.path()}, 1));
    QCOMPARE(fetch->error(), CalDavError::None);
    QCOMPARE(alice->requestCount() - beforeFetch, 2);
    QCOMPARE(fetch->events().size(), 2);
    for (const EventData &data : fetch->events()) {
        const bool isA = data.href == a.path();
        QCOMPARE(data.etag, isA ? putA->etag() : putB->etag());
        QVERIFY(data.ics.contains(isA ? "UID:a" : "UID:b"));
        QVERIFY(QString::fromUtf8(data.ics).contains(isA ? QStringLiteral("开会") : QStringLiteral("交报告")));
    }

    auto changeA = finished(alice->putEvent(a, eventText(QStringLiteral("a"), QStringLiteral("改期")), putA->etag()));
    QCOMPARE(changeA->error(), CalDavError::None);
    QVERIFY(changeA->etag() != putA->etag());
    auto removeB = finished(alice->deleteEvent(b, putB->etag()));
    QCOMPARE(removeB->error(), CalDavError::None);

    auto third = finished(alice->syncCollection(calendar, second->syncToken()));
    QCOMPARE(third->error(), CalDavError::None);
    QCOMPARE(third->changed().size(), 1);
    QCOMPARE(third->changed().first().href, a.path());
    QCOMPARE(third->changed().first().etag, changeA->etag());
    QCOMPARE(third->removed(), QStringList{b.path()});

    auto gone = finished(alice->multiget(calendar, {b.path()}));
    QCOMPARE(gone->error(), CalDavError::None);
    QVERIFY(gone->events().isEmpty());
    QCOMPARE(gone->missing(), QStringList{b.path()});
}

void TestCalDavRadicale::conditionalWritesRefuseConflicts()
{
    auto alice = client();
    const QUrl calendar = newCalendar(*alice).url;
    const QUrl url = calendar.resolved(QUrl(QStringLiteral("c.ics")));
    auto made = finished(alice->putEvent(url, eventText(QStringLiteral("c"), QStringLiteral("一")), QString()));
    QCOMPARE(made->error(), CalDavError::None);
    auto changed = finished(alice->putEvent(url, eventText(QStringLiteral("c"), QStringLiteral("二")), made->etag()));
    QCOMPARE(changed->error(), CalDavError::None);

    // Another new event at the same address, a change and a removal of the version that is no longer there.
    auto again = finished(alice->putEvent(url, eventText(QStringLiteral("c"), QStringLiteral("三")), QString()));
    QCOMPARE(again->error(), CalDavError::Conflict);
    auto stale = finished(alice->putEvent(url, eventText(QStringLiteral("c"), QStringLiteral("三")), made->etag()));
    QCOMPARE(stale->error(), CalDavError::Conflict);
    auto staleRemoval = finished(alice->deleteEvent(url, made->etag()));
    QCOMPARE(staleRemoval->error(), CalDavError::Conflict);

    auto fetch = finished(alice->multiget(calendar, {url.path()}));
    QCOMPARE(fetch->events().size(), 1);
    QCOMPARE(fetch->events().first().etag, changed->etag());
    QVERIFY(QString::fromUtf8(fetch->events().first().ics).contains(QStringLiteral("SUMMARY:二")));
}

void TestCalDavRadicale::expiredSyncTokenAsksForFullSync_data()
{
    QTest::addColumn<QString>("token");
    QTest::newRow("unknown") << QStringLiteral("http://radicale.org/ns/sync/") + QString(64, QLatin1Char('0'));
    QTest::newRow("malformed") << QStringLiteral("not a token");
}

void TestCalDavRadicale::expiredSyncTokenAsksForFullSync()
{
    QFETCH(QString, token);
    auto alice = client();
    const QUrl calendar = newCalendar(*alice).url;
    auto sync = finished(alice->syncCollection(calendar, token));
    QCOMPARE(sync->error(), CalDavError::SyncTokenExpired);
}

void TestCalDavRadicale::wrongCredentials_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::newRow("wrong password") << QStringLiteral("alice") << QStringLiteral("Secret");
    QTest::newRow("unknown user") << QStringLiteral("carol") << QStringLiteral("secret");
    QTest::newRow("another user's calendar") << QStringLiteral("bob") << QStringLiteral("hunter2");
}

void TestCalDavRadicale::wrongCredentials()
{
    QFETCH(QString, user);
    QFETCH(QString, password);
    auto alice = client();
    const QUrl calendar = newCalendar(*alice).url;

    auto other = client(user, password);
    auto discovery = finished(other->discover(calendar));
    QCOMPARE(discovery->error(), CalDavError::WrongPassword);
    QVERIFY(!discovery->errorMessage().contains(password));
    // Refused once, not asked again.
    QCOMPARE(other->requestCount(), 1);
}

void TestCalDavRadicale::noServer()
{
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost));
    const quint16 port = closed.serverPort();
    closed.close();
    auto alice = client();
    auto discovery = finished(alice->discover(QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(port))));
    QCOMPARE(discovery->error(), CalDavError::NoServer);
}

void TestCalDavRadicale::timeout()
{
    auto alice = client();
    const QUrl calendar = newCalendar(*alice).url;
    alice->setTimeout(std::chrono::milliseconds(500));
    m_server->pause();
    auto sync = finished(alice->syncCollection(calendar, QString()));
    m_server->resume();
    QCOMPARE(sync->error(), CalDavError::Timeout);
}

void TestCalDavRadicale::tls_data()
{
    QTest::addColumn<bool>("trusted");
    QTest::newRow("test CA trusted") << true;
    QTest::newRow("test CA not trusted") << false;
}

void TestCalDavRadicale::tls()
{
    QFETCH(bool, trusted);
    QTemporaryDir dir;
    const QString ca = dir.filePath(QStringLiteral("ca"));
    const QString server = dir.filePath(QStringLiteral("server"));
    QVERIFY(writeExtensions(dir.filePath(QStringLiteral("server.ext"))));
    QVERIFY(run(QStringLiteral("openssl"),
                {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes", "-days", "2",
                 "-subj", "/CN=Orvane Test CA", "-keyout", ca + ".key", "-out", ca + ".crt"}));
    QVERIFY(run(QStringLiteral("openssl"),
                {"req", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes", "-subj", "/CN=127.0.0.1",
                 "-keyout", server + ".key", "-out", server + ".csr"}));
    QVERIFY(run(QStringLiteral("openssl"),
                {"x509", "-req", "-in", server + ".csr", "-CA", ca + ".crt", "-CAkey", ca + ".key", "-CAcreateserial",
                 "-days", "2", "-extfile", server + ".ext", "-out", server + ".crt"}));

    RadicaleServer tlsServer({"alice:secret"}, {server + ".crt", server + ".key"});
    QVERIFY(tlsServer.start());
    auto alice = client();
    if (trusted)
        alice->addCaCertificates(QSslCertificate::fromPath(ca + ".crt"));
    auto discovery = finished(alice->discover(tlsServer.root()));
    if (trusted) {
        QCOMPARE(discovery->error(), CalDavError::None);
        QCOMPARE(discovery->calendarHome(), tlsServer.root().resolved(QUrl(QStringLiteral("/alice/"))));
    } else {
        QCOMPARE(discovery->error(), CalDavError::UntrustedCertificate);
    }
}

QTEST_GUILESS_MAIN(TestCalDavRadicale)
#include "tst_caldavradicale.moc"
