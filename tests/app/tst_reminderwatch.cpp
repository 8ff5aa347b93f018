#include "app/reminderwatch.h"
#include "core/apperror.h"
#include "store/reminderstore.h"
#include "tests/support/fakeclock.h"
#include "tests/support/tempdatabase.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>

namespace {

using Looks = QList<QDateTime>;

QDateTime at(int day, QTime time)
{
    return QDateTime(QDate(2026, 3, day), time);
}

// The subjects the watch raised at each look, looks separated by "|".
QString raisedAtLooks(TempDatabase &db, const Looks &looks)
{
    ReminderStore store(db.path());
    FakeClock clock(looks.first()); // the program starts at the first look
    ReminderWatch watch(store, clock);
    QSignalSpy due(&watch, &ReminderWatch::remindersDue);
    QStringList perLook;
    for (const QDateTime &look : looks) {
        clock.current = look;
        watch.check();
        QStringList subjects;
        if (!due.isEmpty()) {
            for (const Reminder &reminder : due.takeFirst().at(0).value<QList<Reminder>>())
                subjects << reminder.subject;
        }
        perLook << subjects.join(QLatin1Char(','));
    }
    return perLook.join(QLatin1Char('|'));
}

} // namespace

class TestReminderWatch : public QObject
{
    Q_OBJECT

private slots:
    void eachReminderOnce_data();
    void eachReminderOnce();
    void storeFailureIsReportedAndTheMinutesComeAgain();
};

void TestReminderWatch::eachReminderOnce_data()
{
    QTest::addColumn<Looks>("looks");
    QTest::addColumn<QString>("raised");
    // Stored: a at 08:30, b and c at 08:30 too, d at 08:31:15 (due in its minute), e at 09:15, f at 02:30 on the
    // 29th, g at 02:30 on the 25th.
    QTest::newRow("two looks a minute, raised at the first")
        << Looks{at(4, QTime(8, 30, 5)), at(4, QTime(8, 30, 35))} << "a,b,c|";
    QTest::newRow("nothing from before the program started")
        << Looks{at(4, QTime(9, 0, 5)), at(4, QTime(9, 0, 35))} << "|";
    QTest::newRow("stopped before the first look")
        << Looks{at(4, QTime(8, 29, 50)), at(4, QTime(8, 31, 0))} << "|a,b,c,d";
    QTest::newRow("a suspended machine catches up, earliest first")
        << Looks{at(4, QTime(8, 29, 50)), at(4, QTime(9, 20, 0))} << "|a,b,c,d,e";
    QTest::newRow("seconds other than 00 fall due in their minute")
        << Looks{at(4, QTime(8, 31, 10)), at(4, QTime(8, 31, 40))} << "d|";
    QTest::newRow("the clock set back does not raise them again")
        << Looks{at(4, QTime(8, 30, 5)), at(4, QTime(9, 16, 0)), at(4, QTime(8, 0, 0)), at(4, QTime(9, 30, 0))}
        << "a,b,c|d,e||";
    QTest::newRow("the hour daylight saving skips is caught up")
        << Looks{at(29, QTime(1, 59, 40)), at(29, QTime(3, 0, 10))} << "|f";
    QTest::newRow("the hour daylight saving repeats raises nothing twice")
        << Looks{at(25, QTime(2, 30, 20)), at(25, QTime(2, 59, 50)), at(25, QTime(2, 0, 20)), at(25, QTime(2, 30, 30)),
                 at(25, QTime(3, 0, 0))}
        << "g||||";
}

void TestReminderWatch::eachReminderOnce()
{
    QFETCH(Looks, looks);
    QFETCH(QString, raised);
    TempDatabase db;
    db.sql(QStringLiteral("insert into 日程提醒(主题,内容,时间,日期) values"
                          "('e','','2026-03-04 09:15:00','2026-03-04'),"
                          "('a','','2026-03-04 08:30:00','2026-03-04'),"
                          "('b','','2026-03-04 08:30:00','2026-03-04'),"
                          "('c','','2026-03-04 08:30:00','2026-03-04'),"
                          "('d','','2026-03-04 08:31:15','2026-03-04'),"
                          "('f','','2026-03-29 02:30:00','2026-03-29'),"
                          "('g','','2026-03-25 02:30:00','2026-03-25')"));
    QCOMPARE(raisedAtLooks(db, looks), raised);
}

void TestReminderWatch::storeFailureIsReportedAndTheMinutesComeAgain()
{
    TempDatabase db;
    db.sql(
        QStringLiteral("insert into 日程提醒(主题,内容,时间,日期) values('a','','2026-03-04 08:30:00','2026-03-04')"));
    const QString away = db.path() + QStringLiteral(".away");
    ReminderStore store(db.path());
    FakeClock clock(at(4, QTime(8, 29, 30)));
    ReminderWatch watch(store, clock);
    QSignalSpy due(&watch, &ReminderWatch::remindersDue);
    watch.check();
    QVERIFY(QFile::rename(db.path(), away)); // the store cannot be opened: it was not yet
    ReminderStore gone(db.path());
    ReminderWatch failing(gone, clock);
    for (int look = 0; look < 3; ++look)
        QVERIFY_THROWS_EXCEPTION(AppError, failing.check());
    QVERIFY(QFile::rename(away, db.path()));
    clock.current = at(4, QTime(8, 30, 40));
    watch.check();
    QCOMPARE(due.size(), 1);
    QCOMPARE(due.first().at(0).value<QList<Reminder>>().size(), 1);
}

QTEST_GUILESS_MAIN(TestReminderWatch)
#include "tst_reminderwatch.moc"
