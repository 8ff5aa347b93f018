#include "core/text.h"
#include "store/textformats.h"
#include "tests/support/fakes.h"

#include <QTest>

class TestTextFormats : public QObject
{
    Q_OBJECT

private slots:
    void formats_data();
    void formats();
    void trimming_data();
    void trimming();
    void errorBoxFullStop_data();
    void errorBoxFullStop();
};

void TestTextFormats::formats_data()
{
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QString>("today");
    QTest::addColumn<QString>("due");
    QTest::newRow("morning") << QDateTime(QDate(2009, 3, 3), QTime(9, 5, 59)) << "2009-03-03"
                             << "2009-03-03 09:05:00";
    QTest::newRow("midnight") << QDateTime(QDate(2026, 12, 31), QTime(0, 0)) << "2026-12-31"
                              << "2026-12-31 00:00:00";
    QTest::newRow("evening") << QDateTime(QDate(2026, 1, 1), QTime(23, 59, 30)) << "2026-01-01"
                             << "2026-01-01 23:59:00";
}

void TestTextFormats::formats()
{
    QFETCH(QDateTime, now);
    QFETCH(QString, today);
    QFETCH(QString, due);
    const FakeClock clock(now);
    QCOMPARE(todayDateText(clock), today);
    QCOMPARE(dueText(clock), due);
    QCOMPARE(reminderDateText(now.date()), today);
    QCOMPARE(reminderTimeText(now.date(), QStringLiteral(" 09:30:00\t")), today + QStringLiteral(" 09:30:00"));
}

void TestTextFormats::trimming_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("blanks and controls") << " \t\r\n会议\x01 "
                                         << "会议";
    QTest::newRow("full-width blank kept") << "\u3000会议\u3000"
                                           << "\u3000会议\u3000";
    QTest::newRow("inner blanks kept") << "  a  b  "
                                       << "a  b";
    QTest::newRow("only blanks") << " \r\n "
                                 << "";
}

void TestTextFormats::trimming()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(trimmed(text), expected);
}

void TestTextFormats::errorBoxFullStop_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    QTest::newRow("letter") << "HTTP/1.1 404 Not Found"
                            << "HTTP/1.1 404 Not Found.";
    QTest::newRow("full stop") << "Connection Closed Gracefully."
                               << "Connection Closed Gracefully.";
    QTest::newRow("exclamation sorts before") << "错误!"
                                              << "错误!";
    QTest::newRow("hyphen sorts before") << "a-"
                                         << "a-";
    QTest::newRow("slash sorts after") << "a/"
                                       << "a/.";
    QTest::newRow("chinese") << "找不到文件"
                             << "找不到文件.";
    QTest::newRow("empty") << ""
                           << "";
}

void TestTextFormats::errorBoxFullStop()
{
    QFETCH(QString, message);
    QFETCH(QString, shown);
    QCOMPARE(errorBoxText(message), shown);
    RecordingDialogs dialogs;
    guarded(dialogs, [&] { throw AppError(message); });
    QCOMPARE(dialogs.shown, QStringList{QStringLiteral("error||") + shown});
}

QTEST_GUILESS_MAIN(TestTextFormats)
#include "tst_textformats.moc"
