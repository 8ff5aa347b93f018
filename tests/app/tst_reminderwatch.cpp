#include "app/reminderwatch.h"
#include "core/apperror.h"
#include "store/reminderstore.h"
#include "tests/support/fakeclock.h"
#include "tests/support/tempdatabase.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>

class TestReminderWatch : public QObject
{
    Q_OBJECT

private slots:
    void findsTheReminderOfTheCurrentMinute_data();
    void findsTheReminderOfTheCurrentMinute();
    void storeFailureIsReportedAtEveryLook();
};

void TestReminderWatch::findsTheReminderOfTheCurrentMinute_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("expected"); // the subject found, or empty for none
    QTest::newRow("due this minute") << "2026-03-04 08:30:00"
                                     << "first";
    QTest::newRow("seconds other than 00 never fall due") << "2026-03-04 08:30:15"
                                                          << "";
    QTest::newRow("the minute before") << "2026-03-04 08:29:00"
                                       << "";
}

void TestReminderWatch::findsTheReminderOfTheCurrentMinute()
{
    QFETCH(QString, stored);
    QFETCH(QString, expected);
    TempDatabase db;
    db.sql(QStringLiteral("insert into 日程提醒(主题,内容,时间,日期) values('first','c','%1','2026-03-04'),"
                          "('second','c','%1','2026-03-04')")
               .arg(stored));
    ReminderStore store(db.path());
    FakeClock clock(QDateTime(QDate(2026, 3, 4), QTime(8, 30, 5)));
    ReminderWatch watch(store, clock);
    QSignalSpy due(&watch, &ReminderWatch::reminderDue);
    watch.check();
    clock.current = clock.current.addSecs(30); // the second look of the same minute finds it again
    watch.check();
    QCOMPARE(due.size(), expected.isEmpty() ? 0 : 2);
    for (const QList<QVariant> &args : due)
        QCOMPARE(args.at(0).value<Reminder>().subject, expected);
}

void TestReminderWatch::storeFailureIsReportedAtEveryLook()
{
    TempDatabase db;
    QFile::remove(db.path());
    ReminderStore store(db.path());
    const FakeClock clock;
    ReminderWatch watch(store, clock);
    QSignalSpy due(&watch, &ReminderWatch::reminderDue);
    for (int look = 0; look < 3; ++look)
        QVERIFY_THROWS_EXCEPTION(AppError, watch.check());
    QVERIFY(due.isEmpty());
}

QTEST_GUILESS_MAIN(TestReminderWatch)
#include "tst_reminderwatch.moc"
