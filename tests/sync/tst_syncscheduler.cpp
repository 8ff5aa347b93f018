#include "caldav/caldavclient.h"
#include "caldav/etaglisting.h"
#include "core/clock.h"
#include "radicaleserver.h"
#include "store/reminderstore.h"
#include "sync/syncscheduler.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace std::chrono_literals;

namespace {

const QString kUser = QStringLiteral("alice");
const QString kPassword = QStringLiteral("secret");

// Short enough for a test; the program's are minutes.
SyncScheduler::Timing quick(std::chrono::milliseconds period)
{
    SyncScheduler::Timing timing;
    timing.period = period;
    timing.afterChange = 300ms;
    timing.firstRetry = 250ms;
    timing.requestTimeout = 500ms;
    timing.troubleAfter = 3;
    return timing;
}

// Waits `duration` while the event loop runs.
void idle(std::chrono::milliseconds duration)
{
    QTest::qWait(int(duration.count()));
}

} // namespace

class TestSyncScheduler : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void syncsAtOnceAndEveryPeriodUntilTheAccountGoes();
    void localChangesAreGatheredIntoOnePass();
    void askingDuringAPassRunsOneMoreAfterIt();
    void failuresAreRetriedQuietlyAndSaidOnce();
    void refusalIsSaidOnceAndNotRetried_data();
    void refusalIsSaidOnceAndNotRetried();
    void passCutOffMidwayIsFinishedByTheNext();

private:
    SyncAccount account(const QString &password = kPassword) const { return {m_calendar, kUser, password, false}; }
    qint64 addReminder(const QString &subject);
    int eventsOnServer();
    // Runs `statement` on the test's data.mdb in the sqlite3 shell, as another program would; its output.
    QString sqlite(const QString &statement);
    QString storePath() const { return m_dir->filePath(QStringLiteral("data.mdb")); }

    std::unique_ptr<RadicaleServer> m_server;
    QUrl m_calendar;
    SystemClock m_clock;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ReminderStore> m_store;
};

void TestSyncScheduler::initTestCase()
{
    m_server = std::make_unique<RadicaleServer>(QStringList{kUser + u':' + kPassword});
    QVERIFY(m_server->start());
}

// A calendar and a data.mdb of their own for each test.
void TestSyncScheduler::init()
{
    m_calendar = m_server->makeCalendar(kUser);
    QVERIFY(m_calendar.isValid());
    m_store.reset();
    m_dir = std::make_unique<QTemporaryDir>();
    ReminderStore::create(storePath());
    m_store = std::make_unique<ReminderStore>(storePath());
}

// A test that failed during an outage leaves the server answering for the next.
void TestSyncScheduler::cleanup()
{
    m_server->resume();
}

qint64 TestSyncScheduler::addReminder(const QString &subject)
{
    const QDateTime due(QDate(2027, 3, 1), QTime(9, 0));
    return m_store->add({0, 0, subject, QStringLiteral(""), due, due.date()});
}

int TestSyncScheduler::eventsOnServer()
{
    CalDavClient client;
    client.setCredentials(kUser, kPassword);
    std::unique_ptr<EtagListing> listing(client.listEtags(m_calendar));
    QSignalSpy finished(listing.get(), &CalDavJob::finished);
    if (!finished.wait(20000) || listing->error() != CalDavError::None)
        return -1;
    return int(listing->events().size());
}

QString TestSyncScheduler::sqlite(const QString &statement)
{
    QProcess shell;
    shell.start(QStringLiteral("sqlite3"), {storePath(), statement});
    if (!shell.waitForFinished(10000) || shell.exitCode() != 0)
        qWarning("sqlite3: %s", shell.readAllStandardError().constData());
    return QString::fromUtf8(shell.readAllStandardOutput()).trimmed();
}

void TestSyncScheduler::syncsAtOnceAndEveryPeriodUntilTheAccountGoes()
{
    addReminder(QStringLiteral("周会"));
    SyncScheduler scheduler(storePath(), m_clock, quick(1500ms));
    QSignalSpy synced(&scheduler, &SyncScheduler::synced);
    QSignalSpy trouble(&scheduler, &SyncScheduler::trouble);
    QElapsedTimer clock;
    clock.start();
    scheduler.setAccount(account());
    QVERIFY(synced.wait(10000));
    QCOMPARE(synced.first().first().value<SyncSummary>().uploaded, 1);
    const qint64 first = clock.elapsed();
    QVERIFY(synced.wait(5000));
    QVERIFY(synced.wait(5000));
    // Two periods (a timer of that length may fire 5 % early) and the time the passes took.
    QVERIFY2(clock.elapsed() - first >= 2 * 1400, qPrintable(QString::number(clock.elapsed() - first)));
    QVERIFY2(clock.elapsed() - first < 2 * 1500 + 3000, qPrintable(QString::number(clock.elapsed() - first)));
    // The first pass pulled and pushed; a pass with nothing changed is one request.
    QCOMPARE(scheduler.requestCount(), 2 + 2);
    QCOMPARE(trouble.count(), 0);

    scheduler.setAccount({});
    const int requests = scheduler.requestCount();
    scheduler.localChange();
    scheduler.resume();
    idle(2500ms);
    QCOMPARE(scheduler.requestCount(), requests);
    QCOMPARE(synced.count(), 3);
}

void TestSyncScheduler::localChangesAreGatheredIntoOnePass()
{
    SyncScheduler scheduler(storePath(), m_clock, quick(1h));
    QSignalSpy synced(&scheduler, &SyncScheduler::synced);
    scheduler.setAccount(account());
    QVERIFY(synced.wait(10000));

    // Typing in the manager: a burst of changes, each one closer to the last than the delay.
    QElapsedTimer sinceLast;
    for (int i = 0; i < 5; ++i) {
        addReminder(QStringLiteral("提醒 %1").arg(i));
        scheduler.localChange();
        sinceLast.start();
        idle(100ms);
    }
    QVERIFY(synced.wait(5000));
    QVERIFY2(sinceLast.elapsed() >= 300, qPrintable(QString::number(sinceLast.elapsed())));
    QCOMPARE(synced.last().first().value<SyncSummary>().uploaded, 5);
    idle(1000ms);
    QCOMPARE(synced.count(), 2);
    QCOMPARE(eventsOnServer(), 5);
}

void TestSyncScheduler::askingDuringAPassRunsOneMoreAfterIt()
{
    for (int i = 0; i < 20; ++i)
        addReminder(QStringLiteral("提醒 %1").arg(i));
    SyncScheduler scheduler(storePath(), m_clock, quick(1h));
    QSignalSpy synced(&scheduler, &SyncScheduler::synced);
    scheduler.setAccount(account());
    QVERIFY(scheduler.isPassRunning());
    scheduler.resume();
    scheduler.resume();
    QVERIFY(synced.wait(10000));
    QCOMPARE(synced.first().first().value<SyncSummary>().uploaded, 20);
    QVERIFY(synced.count() == 2 || synced.wait(10000));
    idle(1000ms);
    QCOMPARE(synced.count(), 2);
    // The second pass found nothing to do: one request.
    QCOMPARE(scheduler.requestCount(), 21 + 1);
}

void TestSyncScheduler::failuresAreRetriedQuietlyAndSaidOnce()
{
    SyncScheduler scheduler(storePath(), m_clock, quick(4s));
    QSignalSpy synced(&scheduler, &SyncScheduler::synced);
    QSignalSpy trouble(&scheduler, &SyncScheduler::trouble);
    scheduler.setAccount(account());
    QVERIFY(synced.wait(10000));

    // The server stops answering; a reminder added meanwhile waits for it.
    m_server->pause();
    addReminder(QStringLiteral("断网时加的"));
    scheduler.localChange();
    const int before = scheduler.requestCount();
    QElapsedTimer outage;
    outage.start();
    QVERIFY(trouble.wait(10000));
    // Said after the third pass in a row failed: the pass asked for and two retries, 250 ms then 500 ms later,
    // each waiting out its timeout.
    QVERIFY2(outage.elapsed() >= 2000, qPrintable(QString::number(outage.elapsed())));
    QVERIFY(trouble.first().first().toString().contains(QStringLiteral("服务器没有及时回答")));
    idle(7000ms - std::chrono::milliseconds(outage.elapsed()));
    // Retries 1 s, 2 s, 4 s apart after that: no more than six passes in seven seconds, and nothing said again.
    const int failedPasses = scheduler.requestCount() - before;
    QVERIFY2(failedPasses >= 4 && failedPasses <= 6, qPrintable(QString::number(failedPasses)));
    QCOMPARE(trouble.count(), 1);
    QCOMPARE(synced.count(), 1);

    // Back: the next retry, at most a period later, takes the reminder up.
    m_server->resume();
    QVERIFY(synced.wait(10000));
    QCOMPARE(synced.last().first().value<SyncSummary>().uploaded, 1);
    QCOMPARE(eventsOnServer(), 1);

    // Once a pass succeeded, a new outage is said again.
    m_server->pause();
    scheduler.resume();
    QVERIFY(trouble.wait(10000));
    QCOMPARE(trouble.count(), 2);
}

void TestSyncScheduler::refusalIsSaidOnceAndNotRetried_data()
{
    QTest::addColumn<bool>("tls");
    QTest::addColumn<QString>("said");
    QTest::newRow("wrong password") << false << QStringLiteral("用户名或密码不对");
    QTest::newRow("certificate not trusted") << true << QStringLiteral("证书不受信任");
}

void TestSyncScheduler::refusalIsSaidOnceAndNotRetried()
{
    QFETCH(bool, tls);
    QFETCH(QString, said);
    std::unique_ptr<RadicaleServer> tlsServer;
    SyncAccount refused = account(QStringLiteral("wrong"));
    if (tls) {
        // A certificate of its own signing, which nobody trusts.
        const QString certificate = m_dir->filePath(QStringLiteral("server.crt"));
        const QString key = m_dir->filePath(QStringLiteral("server.key"));
        QCOMPARE(QProcess::execute(QStringLiteral("openssl"),
                                   {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
                                    "-nodes", "-days", "2", "-subj", "/CN=127.0.0.1", "-addext",
                                    "subjectAltName=IP:127.0.0.1", "-keyout", key, "-out", certificate}),
                 0);
        tlsServer = std::make_unique<RadicaleServer>(QStringList{kUser + u':' + kPassword},
                                                     RadicaleServer::Tls{certificate, key});
        QVERIFY(tlsServer->start());
        refused = {tlsServer->root().resolved(QUrl(QStringLiteral("/alice/orvane/"))), kUser, kPassword, false};
    }
    addReminder(QStringLiteral("周会"));
    SyncScheduler::Timing timing = quick(500ms);
    timing.requestTimeout = 5s; // Radicale answers a wrong password a second or so late, on purpose
    SyncScheduler scheduler(storePath(), m_clock, timing);
    QSignalSpy synced(&scheduler, &SyncScheduler::synced);
    QSignalSpy trouble(&scheduler, &SyncScheduler::trouble);
    scheduler.setAccount(refused);
    QVERIFY(trouble.wait(10000));
    QVERIFY2(trouble.first().first().toString().contains(said), qPrintable(trouble.first().first().toString()));
    QVERIFY(!trouble.first().first().toString().contains(refused.password));

    // Neither the period, nor a change, nor a wake sends the same account again.
    const int requests = scheduler.requestCount();
    scheduler.localChange();
    scheduler.resume();
    idle(2000ms);
    QCOMPARE(scheduler.requestCount(), requests);
    QCOMPARE(trouble.count(), 1);
    QCOMPARE(synced.count(), 0);

    // The account set right: syncing goes on.
    scheduler.setAccount(account());
    QVERIFY(synced.wait(10000));
    QCOMPARE(eventsOnServer(), 1);
}

// A first pass that brings many events stores them a batch at a time; one cut off midway (here by the file
// refusing a row) keeps what it stored with its records, and the next fetches and stores only the rest:
// nothing doubled here, nothing sent back to the server as new.
void TestSyncScheduler::passCutOffMidwayIsFinishedByTheNext()
{
    constexpr int kEvents = 1200;
    const QString folder = m_server->folderOf(m_calendar.path());
    for (int i = 0; i < kEvents; ++i) {
        QFile file(folder + QStringLiteral("phone-%1.ics").arg(i));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Phone//EN\r\nBEGIN:VEVENT\r\n"
                                  "UID:phone-%1\r\nDTSTAMP:20260101T000000Z\r\nDTSTART:20270301T%2\r\n"
                                  "SUMMARY:提醒 %1\r\nBEGIN:VALARM\r\nACTION:DISPLAY\r\nDESCRIPTION:提醒\r\n"
                                  "TRIGGER:PT0S\r\nEND:VALARM\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n")
                       .arg(i)
                       .arg(QTime(0, 0).addSecs(i * 60).toString(QStringLiteral("HHmmss")))
                       .toUtf8());
    }
    sqlite(QStringLiteral(
        "CREATE TRIGGER refuse_rows BEFORE INSERT ON 日程提醒 WHEN (SELECT count(*) FROM 日程提醒) >= 600 "
        "BEGIN SELECT RAISE(ABORT, 'disk full'); END"));
    SyncScheduler::Timing timing = quick(1h);
    timing.firstRetry = 1h;
    timing.requestTimeout = 60s;
    timing.troubleAfter = 1;
    SyncScheduler scheduler(storePath(), m_clock, timing);
    QSignalSpy synced(&scheduler, &SyncScheduler::synced);
    QSignalSpy trouble(&scheduler, &SyncScheduler::trouble);
    scheduler.setAccount(account());
    QVERIFY(trouble.wait(60000));
    const int kept = sqlite(QStringLiteral("SELECT count(*) FROM 日程提醒")).toInt();
    QVERIFY2(kept > 0 && kept < 600, qPrintable(QString::number(kept)));

    sqlite(QStringLiteral("DROP TRIGGER refuse_rows"));
    scheduler.resume();
    QVERIFY(synced.wait(60000));
    const SyncSummary summary = synced.last().first().value<SyncSummary>();
    QCOMPARE(summary.added, kEvents - kept);
    QCOMPARE(summary.uploaded, 0);
    QCOMPARE(sqlite(QStringLiteral("SELECT count(*), count(DISTINCT 主题) FROM 日程提醒")),
             QStringLiteral("%1|%1").arg(kEvents));
    QCOMPARE(eventsOnServer(), kEvents);
}

QTEST_GUILESS_MAIN(TestSyncScheduler)
#include "tst_syncscheduler.moc"
