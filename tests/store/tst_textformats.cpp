#include "core/text.h"
#include "store/textformats.h"
#include "tests/support/recordingdialogs.h"

#include <QTest>

class TestTextFormats : public QObject
{
    Q_OBJECT

private slots:
    void formats_data();
    void formats();
    void dateTimeTexts_data();
    void dateTimeTexts();
    void dateTexts_data();
    void dateTexts();
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
    QCOMPARE(dueText(now), due);
    QCOMPARE(reminderDateText(now.date()), today);
}

void TestTextFormats::dateTimeTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("stored"); // the canonical text of what is read; empty when nothing is
    QTest::newRow("stored form") << "2026-03-04 09:05:07"
                                 << "2026-03-04 09:05:07";
    QTest::newRow("one-digit fields") << "2026-3-4 9:05"
                                      << "2026-03-04 09:05:00";
    QTest::newRow("T between") << "2026-03-04T09:05:07"
                               << "2026-03-04 09:05:07";
    QTest::newRow("blanks between") << "2026-03-04 \t09:05"
                                    << "2026-03-04 09:05:00";
    QTest::newRow("fraction of a second") << "2026-03-04 09:05:07.999"
                                          << "2026-03-04 09:05:07";
    QTest::newRow("Z") << "2026-03-04T09:05Z"
                       << "2026-03-04 09:05:00";
    QTest::newRow("zone offset") << "2026-03-04 09:05+02:00" << QString();
    QTest::newRow("date alone") << "2026-03-04"
                                << "2026-03-04 00:00:00";
    QTest::newRow("blanks around") << " 2026-03-04 09:05:07\t"
                                   << "2026-03-04 09:05:07";
    QTest::newRow("29 February of a leap year") << "2024-02-29 23:59:59"
                                                << "2024-02-29 23:59:59";
    QTest::newRow("29 February of 2000") << "2000-02-29 00:00:00"
                                         << "2000-02-29 00:00:00";
    QTest::newRow("before 1970") << "1969-12-31 23:59:59"
                                 << "1969-12-31 23:59:59";
    QTest::newRow("first day of the calendar") << "0001-01-01 00:00:00"
                                               << "0001-01-01 00:00:00";
    QTest::newRow("last second of 9999") << "9999-12-31 23:59:59"
                                         << "9999-12-31 23:59:59";
    QTest::newRow("30 February") << "2026-02-30 09:05:00" << QString();
    QTest::newRow("29 February of 2100") << "2100-02-29 09:05:00" << QString();
    QTest::newRow("31 April") << "2026-04-31 09:05:00" << QString();
    QTest::newRow("month 13") << "2026-13-01 09:05:00" << QString();
    QTest::newRow("day 0") << "2026-03-00 09:05:00" << QString();
    QTest::newRow("year 0") << "0000-03-04 09:05:00" << QString();
    QTest::newRow("minute 60") << "2026-03-04 09:60:00" << QString();
    QTest::newRow("hour 24") << "2026-03-04 24:00:00" << QString();
    QTest::newRow("second 60") << "2026-03-04 09:05:60" << QString();
    QTest::newRow("stored length, not a time") << "2026-03-04 09:05:0x" << QString();
    QTest::newRow("full-width digit") << "2026-03-04 09:05:0\uff10" << QString();
    QTest::newRow("words") << "tomorrow" << QString();
    QTest::newRow("no separators") << "20260304" << QString();
    QTest::newRow("empty") << "" << QString();
}

// Both readings agree, and what they read is written back in the one stored form.
void TestTextFormats::dateTimeTexts()
{
    QFETCH(QString, text);
    QFETCH(QString, stored);
    const QDateTime read = parseDateTimeText(text);
    QCOMPARE(read.isValid(), !stored.isEmpty());
    QCOMPARE(canonicalDateTimeText(read), stored);
    const QByteArray utf8 = text.toUtf8();
    QCOMPARE(parseDateTimeUtf8(QUtf8StringView(utf8.constData(), utf8.size())), read);
}

void TestTextFormats::dateTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("date");
    QTest::newRow("stored form") << "2026-03-04" << QDate(2026, 3, 4);
    QTest::newRow("one-digit fields") << "2026-3-4" << QDate(2026, 3, 4);
    QTest::newRow("with a time") << "2026-03-04 09:05:07" << QDate(2026, 3, 4);
    QTest::newRow("29 February of a leap year") << "2024-02-29" << QDate(2024, 2, 29);
    QTest::newRow("30 February") << "2026-02-30" << QDate();
    QTest::newRow("year 0") << "0000-03-04" << QDate();
    QTest::newRow("negative year") << "-001-03-04" << QDate();
    QTest::newRow("letters") << "2026-0a-04" << QDate();
    QTest::newRow("empty") << "" << QDate();
}

void TestTextFormats::dateTexts()
{
    QFETCH(QString, text);
    QFETCH(QDate, date);
    QCOMPARE(parseDateText(text), date);
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
    QCOMPARE(withoutOuterSpacesAndControls(text), expected);
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
