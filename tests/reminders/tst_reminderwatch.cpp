#include "core/apperror.h"
#include "core/wallclock.h"
#include "reminders/raisedreminders.h"
#include "reminders/reminderwatch.h"
#include "store/reminderrepeats.h"
#include "store/reminderstore.h"
#include "tests/support/fakeclock.h"
#include "tests/support/tempdatabase.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>

namespace {

// A look at the watch, after the test's clock was moved to `at`: forward as time passes, or by hand.
struct Look
{
    Look(QDateTime to, bool setByHand = false)
        : at(std::move(to))
        , byHand(setByHand)
    {
    }
    QDateTime at;
    bool byHand;
};
using Looks = QList<Look>;

QDateTime at(int day, QTime time)
{
    return QDateTime(QDate(2026, 3, day), time);
}

// The wall clock set to `day` and `time` by hand: no time passes.
Look setTo(int day, QTime time)
{
    return Look(at(day, time), true);
}

// The subjects the watch raised at each look, looks separated by "|".
QString raisedAtLooks(TempDatabase &db, const Looks &looks)
{
    ReminderStore store(db.path());
    FakeClock clock(looks.first().at); // the program starts at the first look
    ReminderWatch watch(store, clock);
    QSignalSpy due(&watch, &ReminderWatch::remindersDue);
    QStringList perLook;
    for (const Look &look : looks) {
        if (look.byHand)
            clock.setByHand(look.at);
        else
            clock.setNow(look.at);
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
    void eachRowOnceWhateverItsId();
    void rowsWithoutAnIdEachAlert();
    void aRepeatingReminderMovesOnOnceAtEachAlert_data();
    void aRepeatingReminderMovesOnOnceAtEachAlert();
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
    // Stored: h, i, j and k at 10:00 on the 10th, 11th, 12th and 13th.
    QTest::newRow("a clock set days ahead and back raises each at its time")
        << Looks{at(10, QTime(9, 59, 30)), setTo(13, QTime(9, 59, 40)), setTo(10, QTime(9, 59, 50)),
                 at(10, QTime(10, 0, 20)), at(11, QTime(10, 0, 20)),    at(12, QTime(10, 0, 20))}
        << "|||h|i|j";
    QTest::newRow("raised ahead of its time, it falls due again at its time")
        << Looks{at(10, QTime(9, 59, 30)), setTo(13, QTime(10, 0, 10)), setTo(10, QTime(10, 0, 20)),
                 at(13, QTime(10, 0, 30))}
        << "|k|h|i,j,k";
    QTest::newRow("set back, the minutes that really passed since the clock was right are caught up")
        << Looks{at(10, QTime(9, 58, 30)), setTo(13, QTime(9, 58, 40)), at(13, QTime(10, 3, 40)),
                 setTo(10, QTime(10, 3, 50)), at(13, QTime(10, 5, 0))}
        << "||k|h|i,j,k";
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
                          "('g','','2026-03-25 02:30:00','2026-03-25'),"
                          "('h','','2026-03-10 10:00:00','2026-03-10'),"
                          "('i','','2026-03-11 10:00:00','2026-03-11'),"
                          "('j','','2026-03-12 10:00:00','2026-03-12'),"
                          "('k','','2026-03-13 10:00:00','2026-03-13')"));
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
    clock.setNow(at(4, QTime(8, 30, 40)));
    watch.check();
    QCOMPARE(due.size(), 1);
    QCOMPARE(due.first().at(0).value<QList<Reminder>>().size(), 1);
}

// The memory of what was raised is the row's: rows that share an id (or have none) are raised each; a row
// moved to another time falls due again; two days of real time later it is forgotten.
void TestReminderWatch::eachRowOnceWhateverItsId()
{
    const auto reminder = [](qint64 rowid, const QString &subject, QTime time) {
        Reminder made;
        made.rowid = rowid; // id stays 0: none usable
        made.subject = subject;
        made.due = WallClock::at(QDate(2026, 3, 4), time);
        return made;
    };
    const auto subjects = [](const QList<Reminder> &reminders) {
        QStringList list;
        for (const Reminder &reminder : reminders)
            list << reminder.subject;
        return list.join(QLatin1Char(','));
    };
    const Reminder first = reminder(1, QStringLiteral("甲"), QTime(9, 30));
    const Reminder second = reminder(2, QStringLiteral("乙"), QTime(9, 30));
    const qint64 day = 24 * 3600 * 1000;
    RaisedReminders raised;
    QCOMPARE(subjects(raised.raiseNew({first, second}, 0, false)), QStringLiteral("甲,乙"));
    QCOMPARE(subjects(raised.raiseNew({first, second}, 1000, false)), QString());
    const Reminder moved = reminder(1, QStringLiteral("甲"), QTime(9, 45));
    QCOMPARE(subjects(raised.raiseNew({moved, second}, 2000, false)), QStringLiteral("甲"));
    QCOMPARE(subjects(raised.raiseNew({second}, 2 * day, false)), QString());
    QCOMPARE(subjects(raised.raiseNew({second}, 2 * day + 1001, false)), QStringLiteral("乙"));
}

// A file whose id is no key: two rows with no id at the same minute alert each.
void TestReminderWatch::rowsWithoutAnIdEachAlert()
{
    TempDatabase db;
    db.sql(QStringLiteral("drop table 日程提醒;"
                          "create table 日程提醒(id int, 主题 text, 内容 text, 时间 text, 日期 text);"
                          "insert into 日程提醒 values(null,'甲','','2026-03-04 08:30:00','2026-03-04'),"
                          "(null,'乙','','2026-03-04 08:30:00','2026-03-04')"));
    QCOMPARE(raisedAtLooks(db, Looks{at(4, QTime(8, 29, 50)), at(4, QTime(8, 30, 10)), at(4, QTime(8, 30, 40))}),
             QStringLiteral("|甲,乙|"));
}

void TestReminderWatch::aRepeatingReminderMovesOnOnceAtEachAlert_data()
{
    QTest::addColumn<Looks>("looks");
    QTest::addColumn<QString>("raised");
    QTest::addColumn<QString>("row"); // where the row stands after the last look
    // Stored: m every day at 08:30 from the 4th.
    QTest::newRow("each day's alert moves it to the next day")
        << Looks{at(4, QTime(8, 29, 50)), at(4, QTime(8, 30, 10)), at(5, QTime(8, 30, 10))} << "|m|m"
        << "2026-03-06 08:30:00|2026-03-06";
    QTest::newRow("a suspend across four occurrences raises it once")
        << Looks{at(4, QTime(8, 29, 50)), at(4, QTime(8, 30, 10)), at(8, QTime(9, 0, 0)), at(9, QTime(8, 30, 5))}
        << "|m|m|m"
        << "2026-03-10 08:30:00|2026-03-10";
    QTest::newRow("started days later, the series comes to the next occurrence silently")
        << Looks{at(6, QTime(12, 0, 0)), at(7, QTime(8, 30, 5))} << "|m"
        << "2026-03-08 08:30:00|2026-03-08";
}

void TestReminderWatch::aRepeatingReminderMovesOnOnceAtEachAlert()
{
    QFETCH(Looks, looks);
    QFETCH(QString, raised);
    QFETCH(QString, row);
    TempDatabase db;
    {
        ReminderStore store(db.path());
        Reminder daily;
        daily.subject = QStringLiteral("m");
        daily.due = WallClock::at(QDate(2026, 3, 4), QTime(8, 30));
        ReminderRepeats(store).add(daily, QStringLiteral("daily"));
    }
    QCOMPARE(raisedAtLooks(db, looks), raised);
    QCOMPARE(db.sql(QStringLiteral("SELECT 时间,日期 FROM 日程提醒;")).trimmed(), row);
}

QTEST_GUILESS_MAIN(TestReminderWatch)
#include "tst_reminderwatch.moc"
