#include "core/clock.h"
#include "store/reminderstore.h"
#include "sync/syncscheduler.h"
#include "sync/syncsettings.h"
#include "tests/support/secretstoredaemon.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// The settings against a real secret store: gnome-keyring-daemon on a session bus of the test's own.

namespace {

SyncAccount account(const QString &user, const QString &password, bool insecure = false)
{
    return {QUrl(QStringLiteral("https://dav.example.org/calendars/%1/work/").arg(user)), user, password, insecure};
}

// Everything under `folder`, as one array of bytes.
QByteArray contentsUnder(const QString &folder)
{
    QByteArray all;
    QDirIterator files(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile file(files.next());
        if (file.open(QIODevice::ReadOnly))
            all += file.readAll();
    }
    return all;
}

} // namespace

Q_DECLARE_METATYPE(SyncAccount)

class TestSyncSettings : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void nothingSaved();
    void savedAccountLoadsInAnotherRun_data();
    void savedAccountLoadsInAnotherRun();
    void passwordIsNeverInTheSettingsFile();
    void anotherSaveReplacesTheAccount();
    void forgetRemovesAccountAndPassword();
    void withoutPasswordInTheStoreLoadsTheRest();
    void settingsFileThatCannotBeWrittenFails();
    // Ends the secret store: last.
    void withoutSecretStoreSayingSo();

private:
    SyncAccount loadFrom(const QString &file);
    bool saveTo(const QString &file, const SyncAccount &saved);

    SecretStoreDaemon m_store;
    std::unique_ptr<QTemporaryDir> m_config;
    QString m_file;
};

void TestSyncSettings::initTestCase()
{
    QVERIFY(m_store.start());
}

void TestSyncSettings::init()
{
    m_config = std::make_unique<QTemporaryDir>();
    m_file = m_config->filePath(QStringLiteral("orvane-reminder/sync.conf"));
}

SyncAccount TestSyncSettings::loadFrom(const QString &file)
{
    SyncSettings settings(file);
    QSignalSpy loaded(&settings, &SyncSettings::loaded);
    QSignalSpy failed(&settings, &SyncSettings::failed);
    settings.load();
    if (!loaded.wait(10000) || !failed.isEmpty())
        qWarning() << "the settings did not load:" << failed;
    return loaded.isEmpty() ? SyncAccount() : loaded.first().first().value<SyncAccount>();
}

bool TestSyncSettings::saveTo(const QString &file, const SyncAccount &saved)
{
    SyncSettings settings(file);
    QSignalSpy done(&settings, &SyncSettings::saved);
    QSignalSpy changed(&settings, &SyncSettings::changed);
    QSignalSpy failed(&settings, &SyncSettings::failed);
    settings.save(saved);
    if (!done.wait(10000)) {
        qWarning() << "the settings were not saved:" << failed;
        return false;
    }
    return changed.size() == 1 && changed.first().first().value<SyncAccount>() == saved;
}

void TestSyncSettings::nothingSaved()
{
    SyncSettings settings(m_file);
    QSignalSpy loaded(&settings, &SyncSettings::loaded);
    settings.load();
    QVERIFY(loaded.isEmpty()); // from the event loop, never inside the call
    QVERIFY(loaded.wait());
    QVERIFY(!loaded.first().first().value<SyncAccount>().isSet());
}

void TestSyncSettings::savedAccountLoadsInAnotherRun_data()
{
    QTest::addColumn<SyncAccount>("saved");
    QTest::newRow("https") << account(QStringLiteral("alice"), QStringLiteral("s3cret: with 空格 and ü"));
    QTest::newRow("plain http allowed") << SyncAccount{QUrl(QStringLiteral("http://nas.lan:5232/bob/cal/")),
                                                       QStringLiteral("bob"), QStringLiteral("pw"), true};
    QTest::newRow("empty password") << account(QStringLiteral("carol"), QString());
}

void TestSyncSettings::savedAccountLoadsInAnotherRun()
{
    QFETCH(SyncAccount, saved);
    QVERIFY(saveTo(m_file, saved));
    QCOMPARE(loadFrom(m_file), saved);
}

void TestSyncSettings::passwordIsNeverInTheSettingsFile()
{
    const SyncAccount saved = account(QStringLiteral("alice"), QStringLiteral("Tr0ub4dor-horse"));
    QVERIFY(saveTo(m_file, saved));
    const QByteArray everything = contentsUnder(m_config->path());
    QVERIFY(everything.contains("alice"));
    QVERIFY(!everything.contains("Tr0ub4dor"));
    QVERIFY(!everything.contains(saved.password.toUtf8().toBase64()));
    // The keyring holds it, encrypted with the keyring's password.
    QVERIFY(!contentsUnder(m_store.keyrings()).isEmpty());
    QVERIFY(!contentsUnder(m_store.keyrings()).contains("Tr0ub4dor"));
}

void TestSyncSettings::anotherSaveReplacesTheAccount()
{
    QVERIFY(saveTo(m_file, account(QStringLiteral("alice"), QStringLiteral("first"))));
    const SyncAccount second = account(QStringLiteral("dave"), QStringLiteral("second"));
    QVERIFY(saveTo(m_file, second));
    QCOMPARE(loadFrom(m_file), second);
}

void TestSyncSettings::forgetRemovesAccountAndPassword()
{
    const SyncAccount saved = account(QStringLiteral("alice"), QStringLiteral("pw"));
    QVERIFY(saveTo(m_file, saved));
    SyncSettings settings(m_file);
    QSignalSpy changed(&settings, &SyncSettings::changed);
    settings.forget();
    QVERIFY(changed.wait());
    QVERIFY(!changed.first().first().value<SyncAccount>().isSet());
    QVERIFY(!QFile::exists(m_file));
    QVERIFY(!loadFrom(m_file).isSet());
}

void TestSyncSettings::withoutPasswordInTheStoreLoadsTheRest()
{
    const SyncAccount saved = account(QStringLiteral("alice"), QStringLiteral("pw"));
    QVERIFY(saveTo(m_file, saved));
    const QString copy = m_config->filePath(QStringLiteral("copy.conf"));
    QVERIFY(QFile::copy(m_file, copy));
    SyncSettings settings(m_file);
    QSignalSpy changed(&settings, &SyncSettings::changed);
    settings.forget();
    QVERIFY(changed.wait());
    SyncAccount expected = saved;
    expected.password.clear();
    QCOMPARE(loadFrom(copy), expected);
}

// Its folder is a file: no user, root included, can write there.
void TestSyncSettings::settingsFileThatCannotBeWrittenFails()
{
    QFile blocker(m_config->filePath(QStringLiteral("orvane-reminder")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    SyncSettings settings(m_file);
    QSignalSpy failed(&settings, &SyncSettings::failed);
    QSignalSpy changed(&settings, &SyncSettings::changed);
    settings.save(account(QStringLiteral("alice"), QStringLiteral("pw")));
    QVERIFY(failed.wait(10000));
    QVERIFY2(failed.first().first().toString().contains(QStringLiteral("无法写入设置文件")),
             qPrintable(failed.first().first().toString()));
    QVERIFY(changed.isEmpty());
}

void TestSyncSettings::withoutSecretStoreSayingSo()
{
    const SyncAccount before = account(QStringLiteral("alice"), QStringLiteral("pw"));
    QVERIFY(saveTo(m_file, before));
    m_store.stop();

    SyncSettings settings(m_file);
    QSignalSpy failed(&settings, &SyncSettings::failed);
    QSignalSpy changed(&settings, &SyncSettings::changed);
    settings.save(account(QStringLiteral("eve"), QStringLiteral("other")));
    QVERIFY(failed.wait(10000));
    QVERIFY2(failed.first().first().toString().contains(QStringLiteral("没有运行中的密码存储")),
             qPrintable(failed.first().first().toString()));
    QVERIFY(changed.isEmpty());
    // The file is left as it was, and the password was not written into it for want of a store.
    QVERIFY(QFile::exists(m_file));
    QVERIFY(!contentsUnder(m_config->path()).contains("eve"));
    QVERIFY(!contentsUnder(m_config->path()).contains("other"));

    settings.load();
    QTRY_COMPARE_WITH_TIMEOUT(failed.size(), 2, 10000);

    // The background sync that follows the saved account says once that it did not start, and syncs nothing;
    // the set-up window's failures after that are the window's to tell.
    QTemporaryDir data;
    const QString path = data.filePath(QStringLiteral("data.mdb"));
    ReminderStore::create(path);
    SystemClock clock;
    SyncScheduler scheduler(path, clock);
    QSignalSpy trouble(&scheduler, &SyncScheduler::trouble);
    SyncSettings followed(m_file);
    QSignalSpy followedFailed(&followed, &SyncSettings::failed);
    scheduler.followSettings(followed);
    QVERIFY(trouble.wait(10000));
    const QString told = trouble.first().first().toString();
    QVERIFY2(told.startsWith(QStringLiteral("日历同步没有开始"))
                 && told.contains(QStringLiteral("没有运行中的密码存储")),
             qPrintable(told));
    followed.load();
    followed.save(account(QStringLiteral("eve"), QStringLiteral("other")));
    QTRY_COMPARE_WITH_TIMEOUT(followedFailed.size(), 3, 10000);
    QTest::qWait(200);
    QCOMPARE(trouble.size(), 1);
    QVERIFY(!scheduler.isPassRunning());
    QCOMPARE(scheduler.requestCount(), 0);
}

QTEST_GUILESS_MAIN(TestSyncSettings)
#include "tst_syncsettings.moc"
