#include "sync/syncsettings.h"
#include "syncsetup/syncsetupdialog.h"
#include "tests/caldav/radicaleserver.h"
#include "tests/notice/scriptedserver.h"
#include "tests/support/secretstoredaemon.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

// The set-up window against a real Radicale server and a real secret store (gnome-keyring-daemon on a bus of
// the test's own); the answers no Radicale gives (a 500, a TLS handshake with a server that speaks none) from a
// scripted server.

namespace {

QByteArray reply(const QByteArray &statusLine)
{
    return "HTTP/1.1 " + statusLine + "\r\nContent-Length: 0\r\n\r\n";
}

// A port on 127.0.0.1 where nothing listens.
quint16 closedPort()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost);
    return server.serverPort();
}

} // namespace

class TestSyncSetupDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void connectionProblemsSaidPlainly_data();
    void connectionProblemsSaidPlainly();
    void untrustedCertificateSaidPlainly();
    void plainHttpToAnotherMachineIsAsked();
    void createPickAndSave();

private:
    // A dialog with its settings loaded.
    std::unique_ptr<SyncSetupDialog> dialog();
    void fill(SyncSetupDialog &dialog, const QString &address, const QString &user, const QString &password);
    // Clicks 测试连接 and waits for the answer; the status it shows.
    QString test(SyncSetupDialog &dialog);

    SecretStoreDaemon m_secretStore;
    std::unique_ptr<RadicaleServer> m_radicale;
    std::unique_ptr<QTemporaryDir> m_config;
    std::unique_ptr<SyncSettings> m_settings;
};

void TestSyncSetupDialog::initTestCase()
{
    QVERIFY(m_secretStore.start());
    m_radicale = std::make_unique<RadicaleServer>(QStringList{"alice:secret"});
    QVERIFY(m_radicale->start());
}

void TestSyncSetupDialog::init()
{
    m_config = std::make_unique<QTemporaryDir>();
    m_settings = std::make_unique<SyncSettings>(m_config->filePath(QStringLiteral("sync.conf")));
}

std::unique_ptr<SyncSetupDialog> TestSyncSetupDialog::dialog()
{
    QSignalSpy loaded(m_settings.get(), &SyncSettings::loaded);
    auto made = std::make_unique<SyncSetupDialog>(*m_settings);
    made->open();
    if (!loaded.wait(10000))
        qWarning("the settings did not load");
    return made;
}

void TestSyncSetupDialog::fill(SyncSetupDialog &dialog, const QString &address, const QString &user,
                               const QString &password)
{
    for (const auto &[name, text] : {std::pair{"address", address}, {"user", user}, {"password", password}}) {
        auto *field = dialog.findChild<QLineEdit *>(QLatin1String(name));
        field->selectAll();
        QTest::keyClicks(field, text); // as typed, so that the dialog hears of the change
    }
}

QString TestSyncSetupDialog::test(SyncSetupDialog &dialog)
{
    auto *button = dialog.findChild<QPushButton *>(QStringLiteral("testConnection"));
    button->click();
    if (!QTest::qWaitFor([button] { return button->isEnabled(); }, 20000))
        qWarning("the test of the connection did not end");
    return dialog.findChild<QLabel *>(QStringLiteral("status"))->text();
}

void TestSyncSetupDialog::connectionProblemsSaidPlainly_data()
{
    QTest::addColumn<QString>("address"); // %1: the scripted server's port
    QTest::addColumn<QList<QByteArray>>("replies");
    QTest::addColumn<CalDavError>("problem");
    QTest::newRow("no server") << QStringLiteral("http://127.0.0.1:%1/").arg(closedPort()) << QList<QByteArray>{}
                               << CalDavError::NoServer;
    QTest::newRow("wrong password") << QStringLiteral("http://127.0.0.1:%1/dav/") << QList{reply("401 Unauthorized")}
                                    << CalDavError::WrongPassword;
    QTest::newRow("not a calendar") << QStringLiteral("http://127.0.0.1:%1/blog/")
                                    << QList{reply("404 Not Found"), reply("404 Not Found")}
                                    << CalDavError::NotACalendar;
    QTest::newRow("server error") << QStringLiteral("http://127.0.0.1:%1/dav/")
                                  << QList{reply("500 Internal Server Error"), reply("500 Internal Server Error")}
                                  << CalDavError::ServerError;
    QTest::newRow("not an address") << QStringLiteral("ftp://example.org/") << QList<QByteArray>{}
                                    << CalDavError::InvalidAddress;
}

void TestSyncSetupDialog::connectionProblemsSaidPlainly()
{
    QFETCH(QString, address);
    QFETCH(QList<QByteArray>, replies);
    QFETCH(CalDavError, problem);
    ScriptedServer server;
    for (const QByteArray &answer : std::as_const(replies))
        server.add(answer);
    auto shown = dialog();
    fill(*shown, address.contains(QLatin1String("%1")) ? address.arg(server.port()) : address, QStringLiteral("alice"),
         QStringLiteral("secret"));
    QCOMPARE(test(*shown), connectionProblem(problem));
    QCOMPARE(shown->findChild<QListWidget *>(QStringLiteral("calendars"))->count(), 0);
    QVERIFY(!shown->findChild<QPushButton *>(QStringLiteral("createCalendar"))->isEnabled());
    // Nothing to save: it says what is missing and stays open.
    shown->findChild<QPushButton *>(QStringLiteral("save"))->click();
    QVERIFY(shown->isVisible());
}

// A Radicale server over TLS with a certificate of its own, which no authority signed.
void TestSyncSetupDialog::untrustedCertificateSaidPlainly()
{
    const QString key = m_config->filePath(QStringLiteral("server.key"));
    const QString certificate = m_config->filePath(QStringLiteral("server.crt"));
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"),
                  {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                   QStringLiteral("rsa:2048"), QStringLiteral("-nodes"), QStringLiteral("-subj"),
                   QStringLiteral("/CN=127.0.0.1"), QStringLiteral("-addext"),
                   QStringLiteral("subjectAltName=IP:127.0.0.1"), QStringLiteral("-days"), QStringLiteral("2"),
                   QStringLiteral("-keyout"), key, QStringLiteral("-out"), certificate});
    QVERIFY(openssl.waitForFinished(30000));
    QCOMPARE(openssl.exitCode(), 0);
    RadicaleServer selfSigned({QStringLiteral("alice:secret")}, {certificate, key});
    QVERIFY(selfSigned.start());
    auto shown = dialog();
    fill(*shown, selfSigned.root().toString(), QStringLiteral("alice"), QStringLiteral("secret"));
    QCOMPARE(test(*shown), connectionProblem(CalDavError::UntrustedCertificate));
}

void TestSyncSetupDialog::plainHttpToAnotherMachineIsAsked()
{
    auto shown = dialog();
    auto *status = shown->findChild<QLabel *>(QStringLiteral("status"));
    // 192.0.2.1 is an address for documentation: no answer comes from it, and none is waited for here.
    fill(*shown, QStringLiteral("http://192.0.2.1/dav/"), QStringLiteral("alice"), QStringLiteral("secret"));
    for (bool use : {false, true}) {
        shown->findChild<QPushButton *>(QStringLiteral("testConnection"))->click();
        auto *question = shown->findChild<QMessageBox *>(QStringLiteral("plainHttpQuestion"));
        QVERIFY(question);
        QVERIFY(question->isVisible());
        QVERIFY(question->text().contains(QLatin1String("192.0.2.1")));
        const QString answer = use ? QStringLiteral("使用") : QStringLiteral("取消");
        for (QAbstractButton *button : question->buttons()) {
            if (button->text() == answer)
                button->click();
        }
        QTRY_VERIFY(!shown->findChild<QMessageBox *>(QStringLiteral("plainHttpQuestion")));
        QCOMPARE(status->text(),
                 use ? SyncSetupDialog::tr("正在连接服务器…") : connectionProblem(CalDavError::InsecureAddress));
    }
}

void TestSyncSetupDialog::createPickAndSave()
{
    auto first = dialog();
    auto *calendars = first->findChild<QListWidget *>(QStringLiteral("calendars"));
    auto *create = first->findChild<QPushButton *>(QStringLiteral("createCalendar"));
    fill(*first, m_radicale->root().toString(), QStringLiteral("alice"), QStringLiteral("secret"));
    // A fresh account: no calendar yet, so one is made, twice.
    test(*first);
    QCOMPARE(calendars->count(), 0);
    for (int made = 1; made <= 2; ++made) {
        QVERIFY(create->isEnabled());
        create->click();
        QTRY_COMPARE_WITH_TIMEOUT(calendars->count(), made, 10000);
        QTRY_VERIFY(create->isEnabled());
        QCOMPARE(calendars->currentRow(), made - 1);
        QCOMPARE(calendars->currentItem()->text(), SyncSetupDialog::newCalendarName());
    }
    // Found again from the server's root; the one picked is saved.
    QCOMPARE(test(*first), SyncSetupDialog::tr("连接成功：找到 %n 个日历，请选择一个", nullptr, 2));
    QCOMPARE(calendars->count(), 2);
    calendars->setCurrentRow(0);
    const QUrl picked = calendars->item(0)->data(Qt::UserRole).toUrl();
    QVERIFY(picked.path().startsWith(QLatin1String("/alice/")));
    QSignalSpy changed(m_settings.get(), &SyncSettings::changed);
    QSignalSpy closed(first.get(), &QDialog::accepted);
    first->findChild<QPushButton *>(QStringLiteral("save"))->click();
    QVERIFY(closed.wait(10000));
    QCOMPARE(changed.size(), 1);
    const SyncAccount saved{picked, QStringLiteral("alice"), QStringLiteral("secret"), false};
    QCOMPARE(changed.first().first().value<SyncAccount>(), saved);

    // Opened again, it shows the saved account, the calendar picked and the password from the secret store.
    auto again = dialog();
    QCOMPARE(again->findChild<QLineEdit *>(QStringLiteral("address"))->text(), picked.toString());
    QCOMPARE(again->findChild<QLineEdit *>(QStringLiteral("password"))->text(), QStringLiteral("secret"));
    // The calendar's own address finds that calendar alone.
    QCOMPARE(test(*again), SyncSetupDialog::tr("连接成功：找到 %n 个日历，请选择一个", nullptr, 1));
    auto *found = again->findChild<QListWidget *>(QStringLiteral("calendars"));
    QCOMPARE(found->count(), 1);
    QCOMPARE(found->currentItem()->data(Qt::UserRole).toUrl(), picked);
}

QTEST_MAIN(TestSyncSetupDialog)
#include "tst_syncsetupdialog.moc"
