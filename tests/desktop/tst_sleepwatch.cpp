#include "desktop/sleepwatch.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

// A private bus stands in for the system bus, with a stand-in for logind on it.
class TestSleepWatch : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void wakingUpIsTold();

private:
    QProcess m_bus;
    QString m_address;
};

void TestSleepWatch::initTestCase()
{
    m_bus.start(QStringLiteral("dbus-daemon"),
                {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
    QVERIFY(m_bus.waitForReadyRead(10000));
    m_address = QString::fromUtf8(m_bus.readLine()).trimmed();
    QVERIFY(!m_address.isEmpty());
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", m_address.toUtf8());
}

void TestSleepWatch::cleanupTestCase()
{
    m_bus.kill();
    m_bus.waitForFinished();
}

void TestSleepWatch::wakingUpIsTold()
{
    SleepWatch watch;
    QSignalSpy resumed(&watch, &SleepWatch::resumed);
    QDBusConnection logind = QDBusConnection::connectToBus(m_address, QStringLiteral("logind"));
    QVERIFY(logind.registerService(QStringLiteral("org.freedesktop.login1")));
    const auto prepareForSleep = [&](bool sleeping) {
        QDBusMessage signal = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/login1"),
                                                         QStringLiteral("org.freedesktop.login1.Manager"),
                                                         QStringLiteral("PrepareForSleep"));
        signal << sleeping;
        QVERIFY(logind.send(signal));
    };
    prepareForSleep(true);
    QTest::qWait(200);
    QCOMPARE(resumed.size(), 0);
    prepareForSleep(false);
    QTRY_COMPARE(resumed.size(), 1);
    QDBusConnection::disconnectFromBus(QStringLiteral("logind"));
}

QTEST_GUILESS_MAIN(TestSleepWatch)
#include "tst_sleepwatch.moc"
