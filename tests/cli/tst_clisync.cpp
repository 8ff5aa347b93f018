#include "sync/syncsettings.h"
#include "tests/caldav/radicaleserver.h"
#include "tests/cli/clirun.h"
#include "tests/support/secretstoredaemon.h"
#include "tests/support/tempdatabase.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

// orvane-db sync with the account set up in 同步设置…: its settings under $XDG_CONFIG_HOME, its password in a
// real secret store (gnome-keyring-daemon on a bus of the test's own), a Radicale server to sync with.

class TestCliSync : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void accountFromTheSettings_data();
    void accountFromTheSettings();
    void nothingSavedSaysHowToSetUp();

private:
    void save(const SyncAccount &account);

    SecretStoreDaemon m_secretStore;
    std::unique_ptr<RadicaleServer> m_server;
    QUrl m_calendar;
    std::unique_ptr<QTemporaryDir> m_config;
};

void TestCliSync::initTestCase()
{
    QVERIFY(m_secretStore.start());
    m_server = std::make_unique<RadicaleServer>(QStringList{"alice:secret", "bob:secret"});
    QVERIFY(m_server->start());
    m_calendar = m_server->makeCalendar(QStringLiteral("alice"));
    QVERIFY(m_calendar.isValid());
}

// Settings of each test's own, where orvane-db looks for them.
void TestCliSync::init()
{
    m_config = std::make_unique<QTemporaryDir>();
    qputenv("XDG_CONFIG_HOME", m_config->path().toUtf8());
}

void TestCliSync::save(const SyncAccount &account)
{
    SyncSettings settings;
    QSignalSpy saved(&settings, &SyncSettings::saved);
    settings.save(account);
    QVERIFY(saved.wait(10000));
}

void TestCliSync::accountFromTheSettings_data()
{
    QTest::addColumn<QString>("savedPassword");
    QTest::addColumn<QStringList>("options"); // %1: the calendar's address, %2: the same server as localhost
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("said");
    const QString synced = QStringLiteral("synced with ");
    QTest::newRow("saved account") << "secret" << QStringList{} << QByteArray() << 0 << synced;
    QTest::newRow("saved account, wrong password")
        << "wrong" << QStringList{} << QByteArray() << 4 << QStringLiteral("用户名或密码不对");
    QTest::newRow("saved account, password typed")
        << "wrong" << QStringList{"--password-stdin"} << QByteArray("secret\n") << 0 << synced;
    QTest::newRow("its user and server") << "secret" << QStringList{"--url", "%1", "--user", "alice"} << QByteArray()
                                         << 0 << synced;
    QTest::newRow("another user") << "secret" << QStringList{"--url", "%1", "--user", "bob"} << QByteArray() << 1
                                  << QStringLiteral("no password is saved for bob");
    // The saved password never goes to another server, whatever the user name.
    QTest::newRow("another server") << "secret" << QStringList{"--url", "%2", "--user", "alice"} << QByteArray() << 1
                                    << QStringLiteral("no password is saved for alice at localhost");
    QTest::newRow("another server, password typed")
        << "wrong" << QStringList{"--url", "%2", "--user", "alice", "--password-stdin"} << QByteArray("secret\n") << 0
        << synced;
    QTest::newRow("--url alone") << "secret" << QStringList{"--url", "%1"} << QByteArray() << 1
                                 << QStringLiteral("both --url URL and --user NAME");
}

void TestCliSync::accountFromTheSettings()
{
    QFETCH(QString, savedPassword);
    QFETCH(QStringList, options);
    QFETCH(QByteArray, input);
    QFETCH(int, status);
    QFETCH(QString, said);
    save({m_calendar, QStringLiteral("alice"), savedPassword, false});
    QUrl elsewhere = m_calendar;
    elsewhere.setHost(QStringLiteral("localhost"));
    for (QString &option : options)
        option = option.replace(QLatin1String("%1"), m_calendar.toString())
                     .replace(QLatin1String("%2"), elsewhere.toString());
    TempDatabase machine;
    const CliRun run = runExecutable(QStringList{"--file", machine.path(), "sync"} + options, input);
    QVERIFY2(run.out.contains(said) || run.error.contains(said), qPrintable(run.out + run.error));
    QCOMPARE(run.status, status);
    QVERIFY(!run.out.contains(QLatin1String("secret")) && !run.error.contains(QLatin1String("secret")));
}

void TestCliSync::nothingSavedSaysHowToSetUp()
{
    TempDatabase machine;
    const CliRun run = runExecutable({"--file", machine.path(), "sync"});
    QCOMPARE(run.status, 1);
    QVERIFY2(run.error.contains(QLatin1String("no sync account is set up")), qPrintable(run.error));
}

QTEST_GUILESS_MAIN(TestCliSync)
#include "tst_clisync.moc"
