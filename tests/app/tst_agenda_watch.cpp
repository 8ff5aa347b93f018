#include "app/agenda.h"
#include "app/reminderwatch.h"
#include "store/datamodule.h"
#include "tests/support/fakes.h"
#include "tests/support/tempdatabase.h"

#include <QFile>
#include <QTest>

class TestAgendaWatch : public QObject
{
    Q_OBJECT

private slots:
    void agendaListsTodayByDate();
    void agendaHasNoCap();
    void marquee_data();
    void marquee();
    void tallLabelScrollsThroughCompletely();
    void watchShowsOncePerTickWhileClosed_data();
    void watchShowsOncePerTickWhileClosed();
    void watchReportsStoreFailureOnEveryTick();
};

void TestAgendaWatch::agendaListsTodayByDate()
{
    TempDatabase db;
    db.sql(QStringLiteral("insert into 日程提醒(主题,内容,时间,日期) values"
                          "('早会','', '2026-03-04 08:30:00','2026-03-04'),"
                          "('昨天','', '2026-03-03 08:30:00','2026-03-03'),"
                          "('日期为准','', '2026-03-09 17:05:09','2026-03-04')"));
    Tdm dm(db.path());
    const FakeClock clock(QDateTime(QDate(2026, 3, 4), QTime(23, 59, 59)));
    QCOMPARE(buildAgendaText(dm.qry5, clock), QStringLiteral("08:30:00  早会\r\r17:05:09  日期为准\r\r"));
    QVERIFY(dm.qry5.isOpen());

    db.sql(QStringLiteral("delete from 日程提醒"));
    QCOMPARE(buildAgendaText(dm.qry5, clock), QString());
}

void TestAgendaWatch::agendaHasNoCap()
{
    TempDatabase db;
    db.sql(QStringLiteral("with recursive n(i) as (select 1 union all select i+1 from n where i<300) "
                          "insert into 日程提醒(主题,内容,时间,日期) "
                          "select 'r'||i,'',printf('2026-03-04 %02d:%02d:00',i/60,i%60),'2026-03-04' from n"));
    Tdm dm(db.path());
    const QString text = buildAgendaText(dm.qry5, FakeClock());
    QCOMPARE(text.count(QStringLiteral("\r\r")), 300);
    QVERIFY(text.endsWith(QStringLiteral("05:00:00  r300\r\r")));
}

void TestAgendaWatch::marquee_data()
{
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("next");
    QTest::newRow("design position") << 128 << 13 << 127;
    QTest::newRow("still inside the margin") << -42 << 13 << -43;
    QTest::newRow("wraps below the panel") << -43 << 13 << 125;
    QTest::newRow("tall label not yet past") << -529 << 500 << -530;
    QTest::newRow("tall label wraps") << -530 << 500 << 125;
}

void TestAgendaWatch::marquee()
{
    QFETCH(int, top);
    QFETCH(int, height);
    QFETCH(int, next);
    QCOMPARE(marqueeStep(top, height, 125), next);
}

void TestAgendaWatch::tallLabelScrollsThroughCompletely()
{
    // A label four panels tall passes every pixel row through the panel before it starts again.
    const int height = 500;
    int top = 128;
    int lowest = top;
    for (int steps = 0;; ++steps) {
        QVERIFY(steps < 10000);
        const int next = marqueeStep(top, height, 125);
        if (next > top) {
            QCOMPARE(next, 125);
            break;
        }
        top = lowest = next;
    }
    QCOMPARE(lowest, -(height + 30));
}

void TestAgendaWatch::watchShowsOncePerTickWhileClosed_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("closedBetweenTicks");
    QTest::addColumn<int>("shown");
    QTest::newRow("closed in between") << "2026-03-04 08:30:00" << true << 2;
    QTest::newRow("still showing") << "2026-03-04 08:30:00" << false << 1;
    QTest::newRow("seconds other than 00") << "2026-03-04 08:30:15" << true << 0;
}

void TestAgendaWatch::watchShowsOncePerTickWhileClosed()
{
    QFETCH(QString, stored);
    QFETCH(bool, closedBetweenTicks);
    QFETCH(int, shown);
    TempDatabase db;
    db.sql(QStringLiteral("insert into 日程提醒(主题,内容,时间,日期) values('s','c','%1','2026-03-04')").arg(stored));
    Tdm dm(db.path());
    FakeClock clock(QDateTime(QDate(2026, 3, 4), QTime(8, 30, 5)));
    bool showing = false;
    int shows = 0;
    ReminderWatch watch(
        dm.qry4, clock, [&] { return showing; },
        [&] {
            ++shows;
            showing = true;
        });
    watch.tick();
    if (closedBetweenTicks)
        showing = false;
    clock.current = clock.current.addSecs(30);
    watch.tick();
    QCOMPARE(shows, shown);
    QCOMPARE(dm.qry4.recordCount(), shown ? 1 : 0);
}

void TestAgendaWatch::watchReportsStoreFailureOnEveryTick()
{
    TempDatabase db;
    QFile::remove(db.path());
    Tdm dm(db.path());
    const FakeClock clock;
    RecordingDialogs dialogs;
    ReminderWatch watch(
        dm.qry4, clock, [] { return false; }, [] { QFAIL("no alert without a store"); });
    for (int tick = 0; tick < 3; ++tick)
        guarded(dialogs, [&] { watch.tick(); });
    QCOMPARE(dialogs.shown.size(), 3);
    QVERIFY(dialogs.shown.first().contains(QStringLiteral("找不到数据库文件")));
}

QTEST_GUILESS_MAIN(TestAgendaWatch)
#include "tst_agenda_watch.moc"
