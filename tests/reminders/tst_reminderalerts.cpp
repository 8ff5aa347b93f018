// The reminders as time passes, without a window: alerts each in turn and earliest first, a notification as
// each falls due, catch-up on a look from outside, the agenda's changes, and the store's failures.

#include "core/wallclock.h"
#include "reminders/reminders.h"
#include "store/reminderstore.h"
#include "tests/support/fakeclock.h"
#include "tests/support/looknow.h"
#include "tests/support/recordingnotifier.h"
#include "tests/support/tempdatabase.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

QDateTime at(QTime time, int day = 4)
{
    return QDateTime(QDate(2026, 3, day), time);
}

QStringList subjects(const QList<Reminder> &reminders)
{
    QStringList list;
    for (const Reminder &reminder : reminders)
        list << reminder.subject;
    return list;
}

// The reminders of a fresh store, started at 08:29:50; the alerts asked for are noted as subjects.
struct Watched
{
    Watched()
    {
        QObject::connect(&reminders, &Reminders::showAlert,
                         [this](const Reminder &reminder) { alerts << reminder.subject; });
    }

    void look() { QVERIFY(lookNow(reminders)); }

    void insert(const QString &subject, const QString &due)
    {
        db.sql(QStringLiteral("insert into 日程提醒(主题,内容,时间,日期) values('%1','','%2','%3')")
                   .arg(subject, due, due.left(10)));
    }

    TempDatabase db;
    ReminderStore store{db.path()};
    FakeClock clock{at(QTime(8, 29, 50))};
    QList<Reminder> notified;
    Reminders reminders{store, clock, std::make_unique<RecordingNotifier>(notified)};
    QStringList alerts;
};

} // namespace

class TestReminderAlerts : public QObject
{
    Q_OBJECT

private slots:
    void alertsEachInTurnEarliestFirst();
    void aLookFromOutsideCatchesUp();
    void agendaChangesWithTheDayAndOtherPrograms();
    void storeFailureIsToldAndTheMinutesComeAgain();
    void pickedNotificationAsksForTheAlert();
};

void TestReminderAlerts::alertsEachInTurnEarliestFirst()
{
    Watched w;
    w.insert(QStringLiteral("第二"), QStringLiteral("2026-03-04 08:31:00"));
    w.insert(QStringLiteral("第一乙"), QStringLiteral("2026-03-04 08:30:00"));
    w.insert(QStringLiteral("第一甲"), QStringLiteral("2026-03-04 08:30:00"));
    w.clock.setNow(at(QTime(8, 30, 5)));
    w.look();
    // Both are notified as they fall due; the second alert waits for the first.
    QCOMPARE(subjects(w.notified), (QStringList{QStringLiteral("第一乙"), QStringLiteral("第一甲")}));
    QCOMPARE(w.alerts, QStringList{QStringLiteral("第一乙")});
    w.clock.setNow(at(QTime(8, 31, 5)));
    w.look(); // falls due while an alert is open: notified now, shown in turn
    QCOMPARE(w.notified.size(), 3);
    QCOMPARE(w.alerts.size(), 1);
    for (int closed = 0; closed < 3; ++closed) {
        w.look(); // a later look raises none again
        w.reminders.alertClosed();
    }
    QCOMPARE(w.alerts, (QStringList{QStringLiteral("第一乙"), QStringLiteral("第一甲"), QStringLiteral("第二")}));
    QCOMPARE(w.notified.size(), 3);
}

void TestReminderAlerts::aLookFromOutsideCatchesUp()
{
    Watched w;
    w.insert(QStringLiteral("睡前"), QStringLiteral("2026-03-04 08:45:00"));
    w.insert(QStringLiteral("醒后"), QStringLiteral("2026-03-04 09:10:00"));
    auto *timer = w.reminders.findChild<QTimer *>(QStringLiteral("watchTimer"));
    QVERIFY(timer && timer->isActive());
    QCOMPARE(timer->interval(), 30000);
    w.clock.setNow(at(QTime(9, 12, 3))); // a wake from sleep: the time passed asleep
    w.look();
    QCOMPARE(subjects(w.notified), (QStringList{QStringLiteral("睡前"), QStringLiteral("醒后")}));
}

void TestReminderAlerts::agendaChangesWithTheDayAndOtherPrograms()
{
    Watched w;
    QSignalSpy changed(&w.reminders, &Reminders::agendaChanged);
    w.look();
    QCOMPARE(changed.size(), 1); // the first look
    w.look();
    QCOMPARE(changed.size(), 1);
    w.insert(QStringLiteral("别处写的"), QStringLiteral("2026-03-04 21:00:00")); // another program
    w.look();
    QCOMPARE(changed.size(), 2);
    w.clock.setNow(at(QTime(0, 0, 15), 5));
    w.look();
    QCOMPARE(changed.size(), 3);
}

void TestReminderAlerts::storeFailureIsToldAndTheMinutesComeAgain()
{
    Watched w;
    w.insert(QStringLiteral("锁后"), QStringLiteral("2026-03-04 08:30:00"));
    const QString away = w.db.path() + QStringLiteral(".away");
    QVERIFY(QFile::rename(w.db.path(), away));
    QSignalSpy failed(&w.reminders, &Reminders::storeFailed);
    w.clock.setNow(at(QTime(8, 30, 10)));
    w.look();
    QCOMPARE(failed.size(), 1);
    QVERIFY(failed.first().at(0).toString().contains(QStringLiteral("找不到数据库文件")));
    QVERIFY(w.alerts.isEmpty());
    QVERIFY(QFile::rename(away, w.db.path()));
    w.clock.setNow(at(QTime(8, 31, 10)));
    w.look();
    QCOMPARE(w.alerts, QStringList{QStringLiteral("锁后")});
    QCOMPARE(failed.size(), 1);
}

void TestReminderAlerts::pickedNotificationAsksForTheAlert()
{
    TempDatabase db;
    ReminderStore store(db.path());
    FakeClock clock;
    QList<Reminder> notified;
    auto notifier = std::make_unique<RecordingNotifier>(notified);
    RecordingNotifier *picked = notifier.get();
    Reminders reminders(store, clock, std::move(notifier));
    QSignalSpy asked(&reminders, &Reminders::alertRequested);
    picked->activate();
    QCOMPARE(asked.size(), 1);
}

QTEST_GUILESS_MAIN(TestReminderAlerts)
#include "tst_reminderalerts.moc"
