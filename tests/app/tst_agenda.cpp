#include "app/agenda.h"

#include <QTest>

class TestAgenda : public QObject
{
    Q_OBJECT

private slots:
    void entriesInTheGivenOrder();
    void entriesByTimeOfDay();
    void oddRowsShowWhatTheyCan();
    void nextReminder_data();
    void nextReminder();
    void marquee_data();
    void marquee();
    void tallLabelScrollsThroughCompletely();
};

void TestAgenda::entriesInTheGivenOrder()
{
    const auto reminder = [](const char *subject, QTime time) {
        Reminder r;
        r.subject = QString::fromUtf8(subject);
        r.due = QDateTime(QDate(2026, 3, 4), time, Qt::UTC);
        return r;
    };
    QCOMPARE(agendaText({}), QString());
    QCOMPARE(agendaText({reminder("早会", QTime(8, 30)), reminder("日期为准", QTime(17, 5, 9))}),
             QStringLiteral("08:30:00  早会\r\r17:05:09  日期为准\r\r"));
}

void TestAgenda::entriesByTimeOfDay()
{
    const auto reminder = [](const char *subject, QDate day, QTime time) {
        Reminder r;
        r.subject = QString::fromUtf8(subject);
        r.due = QDateTime(day, time, Qt::UTC);
        return r;
    };
    const QDate today(2026, 3, 4);
    // A schedule reads top to bottom; equal times keep the store's order; the day of 时间 plays no part.
    QCOMPARE(agendaText({reminder("晚饭", today, QTime(18, 0)), reminder("早会", today, QTime(8, 30)),
                         reminder("午饭甲", today, QTime(12, 0)), reminder("下周", today.addDays(7), QTime(9, 0)),
                         reminder("午饭乙", today, QTime(12, 0))}),
             QStringLiteral(
                 "08:30:00  早会\r\r09:00:00  下周\r\r12:00:00  午饭甲\r\r12:00:00  午饭乙\r\r18:00:00  晚饭\r\r"));
}

void TestAgenda::oddRowsShowWhatTheyCan()
{
    Reminder noSubject;
    noSubject.due = QDateTime(QDate(2026, 3, 4), QTime(9, 0), Qt::UTC);
    Reminder noTime;
    noTime.subject = QStringLiteral("时间看不懂");
    QCOMPARE(agendaText({noSubject, noTime}), QStringLiteral("00:00:00  时间看不懂\r\r09:00:00  \r\r"));
}

void TestAgenda::nextReminder_data()
{
    QTest::addColumn<QTime>("now");
    QTest::addColumn<QString>("next");
    QTest::newRow("before all") << QTime(7, 0) << QStringLiteral("08:30:00  早会");
    QTest::newRow("at a reminder's second") << QTime(8, 30) << QStringLiteral("08:30:00  早会");
    QTest::newRow("the earliest of those left, not the first listed")
        << QTime(8, 30, 1) << QStringLiteral("12:00:00  午饭");
    QTest::newRow("none left") << QTime(18, 0, 1) << QString();
}

// The rows come as the store gives them, not by time; a row without a time counts as midnight.
void TestAgenda::nextReminder()
{
    QFETCH(QTime, now);
    QFETCH(QString, next);
    const auto reminder = [](const char *subject, QTime time) {
        Reminder r;
        r.subject = QString::fromUtf8(subject);
        if (time.isValid())
            r.due = QDateTime(QDate(2026, 3, 4), time, Qt::UTC);
        return r;
    };
    const QList<Reminder> day{reminder("晚饭", QTime(18, 0)), reminder("早会", QTime(8, 30)),
                              reminder("无时间", QTime()), reminder("午饭", QTime(12, 0))};
    QCOMPARE(nextReminderText(day, now), next);
}

void TestAgenda::marquee_data()
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

void TestAgenda::marquee()
{
    QFETCH(int, top);
    QFETCH(int, height);
    QFETCH(int, next);
    QCOMPARE(marqueeStep(top, height, 125), next);
}

void TestAgenda::tallLabelScrollsThroughCompletely()
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

QTEST_GUILESS_MAIN(TestAgenda)
#include "tst_agenda.moc"
