#include "app/agenda.h"

#include <QTest>

class TestAgenda : public QObject
{
    Q_OBJECT

private slots:
    void entriesInTheGivenOrder();
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
