#include "alert/moduledesktopnotifier.h"
#include "core/module.h"
#include "desktop/notify/dbusnotifier.h"
#include "notice/noticeclient.h"
#include "store/reminder.h"
#include "store/textformats.h"
#include "tests/support/privatesessionbus.h"
#include "tests/support/recordingnotificationservice.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <memory>

namespace {

Reminder reminder(const QString &subject, const QString &content)
{
    Reminder made;
    made.id = 1;
    made.subject = subject;
    made.content = content;
    made.due = QDateTime(QDate(2026, 3, 4), QTime(9, 30), Qt::UTC);
    made.day = made.due.date();
    return made;
}

} // namespace

// Desktop notifications on a session bus of the test's own, shown by a notification service of the
// test's own; the notification module lies beside this test.
class TestDesktopNotifier : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void notificationShowsTheReminder_data();
    void notificationShowsTheReminder();
    void theActionOfItsOwnNotificationsIsActivated();
    void idsAreForgottenWhenTheServiceRestarts();
    void theSnoozeActionPutsItsOwnReminderOffOnce();
    void withoutAServiceNothingIsShownOrSaid();
    void withoutABusNothingIsShownOrSaid();
    void theModulesNotifierSpeaksThroughThisOne();
    void aModuleWithAnotherInterfaceIsRefused();

private:
    std::unique_ptr<PrivateSessionBus> m_bus;
};

void TestDesktopNotifier::initTestCase()
{
    m_bus = std::make_unique<PrivateSessionBus>();
    QVERIFY2(!m_bus->address().isEmpty(), "dbus-daemon did not start");
}

void TestDesktopNotifier::init()
{
    // Silence is part of the behaviour: no warning from Qt D-Bus either.
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
}

void TestDesktopNotifier::notificationShowsTheReminder_data()
{
    QTest::addColumn<QStringList>("capabilities");
    QTest::addColumn<QString>("content");
    QTest::addColumn<QString>("body");

    const QString time = regionalDateTimeText(QDateTime(QDate(2026, 3, 4), QTime(9, 30), Qt::UTC));
    QTest::newRow("plain body") << QStringList{"actions", "body"} << QStringLiteral("带上笔记本\r<b>&</b>")
                                << time + QStringLiteral("\n带上笔记本\n<b>&</b>");
    QTest::newRow("markup body") << QStringList{"actions", "body", "body-markup"}
                                 << QStringLiteral("带上笔记本\r<b>&</b>")
                                 << time + QStringLiteral("\n带上笔记本\n&lt;b&gt;&amp;&lt;/b&gt;");
}

void TestDesktopNotifier::notificationShowsTheReminder()
{
    QFETCH(QStringList, capabilities);
    QFETCH(QString, content);
    QFETCH(QString, body);
    RecordingNotificationService service(capabilities);
    QVERIFY(service.isRegistered());
    DBusNotifier notifier(QDBusConnection::sessionBus());

    notifier.notify(reminder(QStringLiteral("会议 <3"), content));
    QTRY_COMPARE(service.notifications.size(), 1);
    const RecordingNotificationService::Notification shown = service.notifications.first();
    QCOMPARE(shown.summary, QStringLiteral("会议 <3"));
    QCOMPARE(shown.body, body);
    QCOMPARE(shown.appName, QStringLiteral("Orvane日程提醒"));
    QCOMPARE(shown.icon, QStringLiteral("orvane-reminder"));
    QCOMPARE(shown.hints.value(QStringLiteral("urgency")).toInt(), 2);
    QCOMPARE(shown.hints.value(QStringLiteral("desktop-entry")).toString(), QStringLiteral("orvane-reminder"));
    QCOMPARE(shown.actions, (QStringList{QStringLiteral("default"), QStringLiteral("显示提醒"),
                                         QStringLiteral("snooze"), QStringLiteral("稍后提醒（10 分钟）")}));
    QCOMPARE(shown.replacesId, 0u);
}

void TestDesktopNotifier::theActionOfItsOwnNotificationsIsActivated()
{
    RecordingNotificationService service;
    DBusNotifier notifier(QDBusConnection::sessionBus());
    QSignalSpy activated(&notifier, &DesktopNotifier::activated);
    notifier.notify(reminder(QStringLiteral("会议"), QStringLiteral("一")));
    notifier.notify(reminder(QStringLiteral("电话"), QStringLiteral("二")));
    QTRY_COMPARE(service.notifications.size(), 2);

    service.invokeAction(2, QStringLiteral("default"));
    QTRY_COMPARE(activated.count(), 1);
    // Another program's notification, and one of ours that has been closed, bring nothing forward.
    service.invokeAction(7, QStringLiteral("default"));
    service.close(1);
    service.invokeAction(1, QStringLiteral("default"));
    service.invokeAction(2, QStringLiteral("default"));
    QTRY_COMPARE(activated.count(), 2);
    QTest::qWait(100);
    QCOMPARE(activated.count(), 2);
}

void TestDesktopNotifier::theSnoozeActionPutsItsOwnReminderOffOnce()
{
    RecordingNotificationService service;
    DBusNotifier notifier(QDBusConnection::sessionBus());
    QSignalSpy snoozed(&notifier, &DesktopNotifier::snoozeRequested);
    QSignalSpy activated(&notifier, &DesktopNotifier::activated);
    notifier.notify(reminder(QStringLiteral("会议"), QStringLiteral("一")));
    notifier.notify(reminder(QStringLiteral("电话"), QStringLiteral("二")));
    QTRY_COMPARE(service.notifications.size(), 2);

    service.invokeAction(7, QStringLiteral("snooze")); // another program's
    service.invokeAction(2, QStringLiteral("snooze"));
    QTRY_COMPARE(snoozed.count(), 1);
    QCOMPARE(snoozed.first().at(0).value<Reminder>().subject, QStringLiteral("电话"));
    QCOMPARE(snoozed.first().at(1).toInt(), 10);
    service.invokeAction(2, QStringLiteral("snooze"));
    service.invokeAction(1, QStringLiteral("default"));
    QTRY_COMPARE(activated.count(), 1);
    QCOMPARE(snoozed.count(), 1);
}

void TestDesktopNotifier::idsAreForgottenWhenTheServiceRestarts()
{
    DBusNotifier notifier(QDBusConnection::sessionBus());
    QSignalSpy activated(&notifier, &DesktopNotifier::activated);
    {
        RecordingNotificationService first;
        notifier.notify(reminder(QStringLiteral("会议"), QStringLiteral("一")));
        QTRY_COMPARE(first.notifications.size(), 1);
    }
    RecordingNotificationService restarted;
    // Another program's first notification on the new service gets the id that ours had.
    QCOMPARE(restarted.Notify(QStringLiteral("other"), 0, QString(), QStringLiteral("other"), QString(),
                              {QStringLiteral("default"), QStringLiteral("Open")}, {}, -1),
             1u);
    restarted.invokeAction(1, QStringLiteral("default"));
    // Its own notifications on the new service still bring the alert forward.
    notifier.notify(reminder(QStringLiteral("电话"), QStringLiteral("二")));
    QTRY_COMPARE(restarted.notifications.size(), 2);
    restarted.invokeAction(2, QStringLiteral("default"));
    QTRY_COMPARE(activated.count(), 1);
    QTest::qWait(100);
    QCOMPARE(activated.count(), 1);
}

void TestDesktopNotifier::withoutAServiceNothingIsShownOrSaid()
{
    DBusNotifier notifier(QDBusConnection::sessionBus());
    notifier.notify(reminder(QStringLiteral("会议"), QStringLiteral("带上笔记本")));
    QTest::qWait(200);
    // A service that comes later shows the next reminder.
    RecordingNotificationService service;
    notifier.notify(reminder(QStringLiteral("电话"), QString()));
    QTRY_COMPARE(service.notifications.size(), 1);
    QCOMPARE(service.notifications.first().summary, QStringLiteral("电话"));
}

void TestDesktopNotifier::withoutABusNothingIsShownOrSaid()
{
    const QDBusConnection none =
        QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"), QStringLiteral("none"));
    QVERIFY(!none.isConnected());
    DBusNotifier notifier(none);
    notifier.notify(reminder(QStringLiteral("会议"), QStringLiteral("带上笔记本")));
    QTest::qWait(100);
}

void TestDesktopNotifier::theModulesNotifierSpeaksThroughThisOne()
{
    RecordingNotificationService service;
    ModuleDesktopNotifier notifier;
    QSignalSpy activated(&notifier, &DesktopNotifier::activated);
    notifier.notify(reminder(QStringLiteral("会议"), QStringLiteral("带上笔记本")));
    QTRY_COMPARE(service.notifications.size(), 1);
    QCOMPARE(service.notifications.first().summary, QStringLiteral("会议"));
    service.invokeAction(service.notifications.first().id, QStringLiteral("default"));
    QTRY_COMPARE(activated.count(), 1);
}

// The module's interface id carries its version: a module made for another interface, or another version
// of it, is not used.
void TestDesktopNotifier::aModuleWithAnotherInterfaceIsRefused()
{
    QString error;
    QVERIFY(!moduleInterface<NoticeClientModule>(QStringLiteral("orvane-notify"), &error));
    QVERIFY2(error.contains(QLatin1String(NoticeClientModule_iid)), qPrintable(error));
    QVERIFY(!moduleInterface(QStringLiteral("orvane-notify"), "org.orvane.reminder.DesktopNotifier/2.0"));
    QVERIFY(moduleInterface<DesktopNotifierModule>(QStringLiteral("orvane-notify")));
}

QTEST_GUILESS_MAIN(TestDesktopNotifier)
#include "tst_desktopnotifier.moc"
