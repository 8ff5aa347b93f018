#include "tests/cli/clirun.h"
#include "tests/support/tempdatabase.h"

#include <QDateTime>
#include <QTest>
#include <QTimeZone>

#include <algorithm>

namespace {

// Lines as calendar programs end them.
QByteArray crlf(const QByteArray &lines)
{
    QByteArray text = lines;
    text.replace("\n", "\r\n");
    return text;
}

QByteArray calendar(const QByteArray &body, const QByteArray &prodid = "-//Google Inc//Google Calendar 70.9054//EN")
{
    return crlf("BEGIN:VCALENDAR\nPRODID:" + prodid + "\nVERSION:2.0\nCALSCALE:GREGORIAN\n" + body + "END:VCALENDAR\n");
}

const QByteArray kShanghai = R"(BEGIN:VTIMEZONE
TZID:Asia/Shanghai
X-LIC-LOCATION:Asia/Shanghai
BEGIN:STANDARD
TZOFFSETFROM:+0800
TZOFFSETTO:+0800
TZNAME:CST
DTSTART:19700101T000000
END:STANDARD
END:VTIMEZONE
)";

// A daily meeting in Shanghai from 10 March, with one occurrence moved to the afternoon, one cancelled, one
// taken out by EXDATE and one added by RDATE.
const QByteArray kMaster = R"(BEGIN:VEVENT
UID:daily@example.org
DTSTAMP:20260301T000000Z
DTSTART;TZID=Asia/Shanghai:20260310T100000
DTEND;TZID=Asia/Shanghai:20260310T103000
RRULE:FREQ=DAILY;COUNT=5
EXDATE;TZID=Asia/Shanghai:20260314T100000
RDATE;TZID=Asia/Shanghai:20260320T100000
SUMMARY:Daily
END:VEVENT
)";
const QByteArray kMoved = R"(BEGIN:VEVENT
UID:daily@example.org
DTSTAMP:20260301T000000Z
RECURRENCE-ID;TZID=Asia/Shanghai:20260311T100000
DTSTART;TZID=Asia/Shanghai:20260311T150000
DTEND;TZID=Asia/Shanghai:20260311T153000
SUMMARY:Daily
END:VEVENT
)";
const QByteArray kCancelled = R"(BEGIN:VEVENT
UID:daily@example.org
DTSTAMP:20260301T000000Z
RECURRENCE-ID;TZID=Asia/Shanghai:20260312T100000
DTSTART;TZID=Asia/Shanghai:20260312T100000
STATUS:CANCELLED
SUMMARY:Daily
END:VEVENT
)";

QByteArray vevent(const QByteArray &uid, const QByteArray &summary, const QByteArray &lines)
{
    return "BEGIN:VEVENT\nUID:" + uid + "\nDTSTAMP:20260301T000000Z\nSUMMARY:" + summary + "\n" + lines
           + "END:VEVENT\n";
}

// The reminders of the file, "subject|时间" in time order.
QString stored(const TempDatabase &db)
{
    return db.sql(QStringLiteral("select 主题||'|'||时间 from 日程提醒 order by 时间, 主题"));
}

// `expected` as the local reminders it means: a time that ends in Z is an instant, shown in the zone the test
// runs in; others are wall-clock times as they are.
QString localRows(const QStringList &expected)
{
    QStringList rows;
    for (const QString &row : expected) {
        const QString subject = row.section(u'|', 0, 0);
        QString time = row.section(u'|', 1);
        if (time.endsWith(u'Z')) {
            const QDateTime instant = QDateTime::fromString(time, Qt::ISODate);
            time = instant.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        }
        rows << subject + u'|' + time.replace(u'T', u' ');
    }
    std::sort(rows.begin(), rows.end(), [](const QString &a, const QString &b) {
        return a.section(u'|', 1) + a.section(u'|', 0, 0) < b.section(u'|', 1) + b.section(u'|', 0, 0);
    });
    return rows.join(u'\n');
}

} // namespace

class TestIcsImport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void calendarPrograms_data();
    void calendarPrograms();
};

void TestIcsImport::initTestCase()
{
    // CTest runs this once in each zone.
    qInfo("local zone: %s", QTimeZone::systemTimeZoneId().constData());
}

void TestIcsImport::calendarPrograms_data()
{
    QTest::addColumn<QByteArray>("ics");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("reminders"); // "subject|time", see localRows()
    QTest::addColumn<QStringList>("told");      // parts of what is said on either stream

    const QString nothing = QStringLiteral("nothing was imported");
    QTest::newRow("UNTIL in UTC, zone of the file")
        << calendar(kShanghai
                    + vevent("until@google.com", "Until",
                             "DTSTART;TZID=Asia/Shanghai:20270105T090000\nRRULE:FREQ=DAILY;UNTIL=20270109T010000Z\n"))
        << 0
        << QStringList{"Until|2027-01-05T01:00:00Z", "Until|2027-01-06T01:00:00Z", "Until|2027-01-07T01:00:00Z",
                       "Until|2027-01-08T01:00:00Z", "Until|2027-01-09T01:00:00Z"}
        << QStringList{"imported 5 reminders"};
    QTest::newRow("UNTIL in UTC, zone of the system")
        << calendar(vevent("until@outlook.com", "Until",
                           "DTSTART;TZID=America/New_York:20270105T090000\nRRULE:FREQ=DAILY;UNTIL=20270107T140000Z\n"),
                    "Microsoft Exchange Server 2010")
        << 0 << QStringList{"Until|2027-01-05T14:00:00Z", "Until|2027-01-06T14:00:00Z", "Until|2027-01-07T14:00:00Z"}
        << QStringList{"imported 3 reminders"};
    const QStringList daily{"Daily|2026-03-10T02:00:00Z", "Daily|2026-03-11T07:00:00Z", "Daily|2026-03-13T02:00:00Z",
                            "Daily|2026-03-20T02:00:00Z"};
    QTest::newRow("overrides after the event") << calendar(kShanghai + kMaster + kMoved + kCancelled) << 0 << daily
                                               << QStringList{"imported 4 reminders (0 already imported, 0 skipped)"};
    QTest::newRow("overrides before the event")
        << calendar(kCancelled + kMoved + kShanghai + kMaster, "-//Apple Inc.//macOS 14.0//EN") << 0 << daily
        << QStringList{"imported 4 reminders (0 already imported, 0 skipped)"};
    QTest::newRow("VTIMEZONE after its events")
        << calendar(vevent("india@example.org", "Mumbai", "DTSTART;TZID=India Time:20260310T093000\n")
                        + "BEGIN:VTIMEZONE\nTZID:India Time\nBEGIN:STANDARD\nDTSTART:16010101T000000\n"
                          "TZOFFSETFROM:+0530\nTZOFFSETTO:+0530\nEND:STANDARD\nEND:VTIMEZONE\n",
                    "Microsoft Exchange Server 2010")
        << 0 << QStringList{"Mumbai|2026-03-10T04:00:00Z"} << QStringList{"imported 1 reminder"};
    QTest::newRow("seconds") << calendar(
        vevent("s1", "Alarm seconds",
               "DTSTART:20260310T100000\nBEGIN:VALARM\nACTION:DISPLAY\nTRIGGER:-PT30S\nEND:VALARM\n")
        + vevent("s2", "Start seconds", "DTSTART:20260311T100015\n"))
                             << 0
                             << QStringList{"Alarm seconds|2026-03-10T09:59:00", "Start seconds|2026-03-11T10:00:00"}
                             << QStringList{"imported 2 reminders", "2 rounded down to their minute"};
    QTest::newRow("no END:VCALENDAR") << crlf("BEGIN:VCALENDAR\nVERSION:2.0\n"
                                              + vevent("t1", "Kept", "DTSTART:20260310T100000\n"))
                                      << 1 << QStringList{} << QStringList{"ends at line 8", nothing};
    QTest::newRow("an event left open") << crlf(
        "BEGIN:VCALENDAR\nVERSION:2.0\n" + vevent("t1", "Kept", "DTSTART:20260310T100000\n")
        + "BEGIN:VEVENT\nUID:t2\nSUMMARY:Open\nDTSTART:20260311T100000\nEND:VCALENDAR\n")
                                        << 1 << QStringList{} << QStringList{"begun at line 9", nothing};
    QTest::newRow("an alarm after year 9999")
        << calendar(vevent("late", "Late",
                           "DTSTART:99991231T230000\nBEGIN:VALARM\nACTION:DISPLAY\nTRIGGER:PT2H\nEND:VALARM\n")
                    + vevent("fine", "Fine", "DTSTART:20260310T100000\n"))
        << 0 << QStringList{"Fine|2026-03-10T10:00:00"}
        << QStringList{"line 5: skipped event \"Late\"", "9999", "imported 1 reminder (0 already imported, 1 skipped)"};
    QTest::newRow("an alarm 24856 days early") << calendar(
        vevent("far", "Far", "DTSTART:21000101T090000\nBEGIN:VALARM\nACTION:DISPLAY\nTRIGGER:-P24856D\nEND:VALARM\n"))
                                               << 0 << QStringList{"Far|2031-12-13T09:00:00"}
                                               << QStringList{"imported 1 reminder"};
    QTest::newRow("nested 300,000 deep") << crlf("BEGIN:VCALENDAR\nVERSION:2.0\n"
                                                 + QByteArray("BEGIN:VEVENT\n").repeated(300000))
                                         << 1 << QStringList{} << QStringList{"line 11", "nested", nothing};
    QTest::newRow("a rule cut by the limit")
        << calendar(vevent("minutely", "Minutely", "DTSTART:20150101T000000\nRRULE:FREQ=MINUTELY;COUNT=5000000\n")) << 0
        << QStringList{} << QStringList{"\"Minutely\"", "cut at 2018-10-20 21:19:00", "imported 0 reminders"};
    QTest::newRow("not UTF-8") << calendar(vevent("l1", "Caf\xe9", "DTSTART:20260310T100000\n")
                                           + vevent("l2", "na\xefve", "DTSTART:20260311T100000\n"))
                               << 0 << QStringList{"Caf\uFFFD|2026-03-10T10:00:00", "na\uFFFDve|2026-03-11T10:00:00"}
                               << QStringList{"line 8: the text is not UTF-8"};
    // Older Chinese calendar programs write GB18030 and say so.
    QTest::newRow("GB18030 by CHARSET") << calendar(
        "BEGIN:VEVENT\nUID:gb1\nSUMMARY;CHARSET=GB18030:\xc8\xd5\xb3\xcc\nDTSTART:20260310T100000\n"
        "END:VEVENT\n") << 0 << QStringList{"日程|2026-03-10T10:00:00"}
                                        << QStringList{"imported 1 reminder"};
    QTest::newRow("GB18030 by byte order mark")
        << "\x84\x31\x95\x33" + calendar(vevent("gb2", "\xc8\xd5\xb3\xcc", "DTSTART:20260310T100000\n")) << 0
        << QStringList{"日程|2026-03-10T10:00:00"} << QStringList{"imported 1 reminder"};
    const QByteArray attachment = "ATTACH;ENCODING=BASE64;VALUE=BINARY:" + QByteArray(5 * 1024 * 1024, 'A') + "\n";
    QByteArray folded = "ATTACH;ENCODING=BASE64;VALUE=BINARY:";
    for (int i = 0; i < 5 * 1024 * 1024 / 74; ++i)
        folded += "\n " + QByteArray(73, 'A');
    QTest::newRow("a long attachment")
        << calendar(vevent("a1", "With attachment", "DTSTART:20260310T100000\n" + attachment)
                    + vevent("a2", "After", "DTSTART:20260311T100000\n"))
        << 0 << QStringList{"With attachment|2026-03-10T10:00:00", "After|2026-03-11T10:00:00"}
        << QStringList{"line 10", "longer than 4 MB", "imported 2 reminders"};
    QTest::newRow("a long folded attachment")
        << calendar(vevent("a1", "With attachment", "DTSTART:20260310T100000\n" + folded + "\n")
                    + vevent("a2", "After", "DTSTART:20260311T100000\n"))
        << 0 << QStringList{"With attachment|2026-03-10T10:00:00", "After|2026-03-11T10:00:00"}
        << QStringList{"line 10", "longer than 4 MB", "imported 2 reminders"};
}

void TestIcsImport::calendarPrograms()
{
    QFETCH(QByteArray, ics);
    QFETCH(int, status);
    QFETCH(QStringList, reminders);
    QFETCH(QStringList, told);
    TempDatabase db;
    const CliRun run = runInProcess(db, {"import", "--ics", "-"}, ics);
    const QString said = run.out + run.error;
    QCOMPARE(run.status, status);
    QCOMPARE(stored(db), localRows(reminders));
    for (const QString &part : std::as_const(told))
        QVERIFY2(said.contains(part), qPrintable(part + QStringLiteral(" not in:\n") + said));
}

QTEST_GUILESS_MAIN(TestIcsImport)
#include "tst_icsimport.moc"
