// Reminders put off (稍后提醒), without a window: each comes again once after its delay with the text it had,
// after a sleep or a restart too, and leaves its row as it is.

#include "reminders/reminders.h"
#include "store/reminderstore.h"
#include "store/snoozerecord.h"
#include "tests/support/fakeclock.h"
#include "tests/support/looknow.h"
#include "tests/support/recordingnotifier.h"
#include "tests/support/tempdatabase.h"

#include <QSignalSpy>
#include <QTest>
#include <memory>

namespace {

QDateTime at(QTime time, int day = 4)
{
    return QDateTime(QDate(2026, 3, day), time);
}

// A file with one reminder at 08:30 whose alert has come, put off by five minutes at 08:30:20.
struct Snoozed
{
    Snoozed()
    {
        db.sql(QStringLiteral("insert into 日程提醒(主题,内容,时间,日期) values('开会','三楼','2026-03-04 08:30:00',"
                              "'2026-03-04')"));
        start();
        clock.setNow(at(QTime(8, 30, 5)));
        look();
        Q_ASSERT(alerts.size() == 1);
        clock.setNow(at(QTime(8, 30, 20)));
        reminders->snooze(alerts.takeFirst(), 5);
        reminders->alertClosed();
    }

    void look() { QVERIFY(lookNow(*reminders)); }

    // The program (again) on the same file.
    void start()
    {
        reminders.reset();
        store = std::make_unique<ReminderStore>(db.path());
        auto recording = std::make_unique<RecordingNotifier>(notified);
        notifier = recording.get();
        reminders = std::make_unique<Reminders>(*store, clock, std::move(recording));
        QObject::connect(reminders.get(), &Reminders::showAlert,
                         [this](const Reminder &reminder) { alerts << reminder; });
    }

    TempDatabase db;
    std::unique_ptr<ReminderStore> store;
    FakeClock clock{at(QTime(8, 29, 50))};
    QList<Reminder> notified;
    RecordingNotifier *notifier = nullptr;
    std::unique_ptr<Reminders> reminders;
    QList<Reminder> alerts;
};

} // namespace

class TestSnoozes : public QObject
{
    Q_OBJECT

private slots:
    void comesAgainOnceAfterTheDelay_data();
    void comesAgainOnceAfterTheDelay();
    void keepsTheTextItHad();
    void failureToKeepItIsTold();
    void putOffFromItsNotificationItsAlertGoes();
};

void TestSnoozes::comesAgainOnceAfterTheDelay_data()
{
    QTest::addColumn<bool>("restart");
    QTest::addColumn<QDateTime>("look");
    QTest::newRow("in time") << false << at(QTime(8, 35, 20));
    QTest::newRow("after a sleep") << false << at(QTime(11, 2, 0));
    QTest::newRow("after a restart") << true << at(QTime(8, 35, 40));
    QTest::newRow("started the next day") << true << at(QTime(7, 0, 0), 5);
}

void TestSnoozes::comesAgainOnceAfterTheDelay()
{
    QFETCH(bool, restart);
    QFETCH(QDateTime, look);
    Snoozed s;
    s.clock.setNow(at(QTime(8, 35, 19))); // a second early
    s.look();
    QVERIFY(s.alerts.isEmpty());
    if (restart)
        s.start();
    s.clock.setNow(look);
    s.look();
    QCOMPARE(s.alerts.size(), 1);
    QCOMPARE(s.alerts.first().subject, QStringLiteral("开会"));
    QCOMPARE(s.alerts.first().due, QDateTime(QDate(2026, 3, 4), QTime(8, 35, 20), Qt::UTC));
    QCOMPARE(s.notified.size(), 2); // notified again as it comes again
    s.reminders->alertClosed();
    s.clock.setNow(look.addSecs(30));
    s.look();
    s.start(); // nor does another start raise it again
    s.look();
    QCOMPARE(s.alerts.size(), 1);
    // The row is where it was.
    QCOMPARE(s.db.sql(QStringLiteral("select 时间 from 日程提醒")).trimmed(), QStringLiteral("2026-03-04 08:30:00"));
}

// It comes again as the user saw it: another program's change to the row, or its deletion, since the alert does
// not change or lose what the user asked to be reminded of.
void TestSnoozes::keepsTheTextItHad()
{
    Snoozed s;
    s.db.sql(QStringLiteral("update 日程提醒 set 主题='改了'; delete from 日程提醒"));
    s.clock.setNow(at(QTime(8, 36, 0)));
    s.look();
    QCOMPARE(s.alerts.size(), 1);
    QCOMPARE(s.alerts.first().subject, QStringLiteral("开会"));
    QCOMPARE(s.alerts.first().content, QStringLiteral("三楼"));
}

void TestSnoozes::failureToKeepItIsTold()
{
    Snoozed s;
    QSignalSpy failed(s.reminders.get(), &Reminders::storeFailed);
    s.db.sql(QStringLiteral("drop table reminder_snoozes; create view reminder_snoozes as select 1 as due"));
    s.reminders->snooze(Reminder{}, 5);
    QCOMPARE(failed.size(), 1);
}

void TestSnoozes::putOffFromItsNotificationItsAlertGoes()
{
    Snoozed s; // 开会 comes again at 08:35:20
    s.db.sql(QStringLiteral("insert into 日程提醒(主题,内容,时间,日期) values('电话','','2026-03-04 08:35:00',"
                            "'2026-03-04')"));
    QSignalSpy withdrawn(s.reminders.get(), &Reminders::alertWithdrawn);
    s.clock.setNow(at(QTime(8, 35, 30)));
    s.look();
    QCOMPARE(s.notified.size(), 3);
    QCOMPARE(s.alerts.size(), 1);             // 电话 shows, 开会 waits
    s.notifier->snooze(s.notified.at(2), 10); // the waiting one: it waits no more
    QCOMPARE(withdrawn.size(), 0);
    s.notifier->snooze(s.notified.at(1), 10); // the open one
    QCOMPARE(withdrawn.size(), 1);
    s.reminders->alertClosed();
    QCOMPARE(s.alerts.size(), 1);
    s.clock.setNow(at(QTime(8, 45, 40)));
    s.look();
    QCOMPARE(s.alerts.size(), 2);
    s.reminders->alertClosed();
    QCOMPARE(s.alerts.size(), 3);
}

QTEST_GUILESS_MAIN(TestSnoozes)
#include "tst_snoozes.moc"
