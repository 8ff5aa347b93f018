#include "store/reminderrepeats.h"
#include "store/reminderstore.h"
#include "store/textformats.h"
#include "tests/cli/clirun.h"
#include "tests/support/fakeclock.h"
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

// The rows of the file, "rowid|subject|时间" in time order, and the rules of those that repeat.
QStringList rowsOf(const TempDatabase &db, QHash<qint64, Repetition> &rules)
{
    ReminderStore store(db.path());
    rules = ReminderRepeats(store).all();
    return db.sql(QStringLiteral("select rowid||'|'||主题||'|'||时间 from 日程提醒 order by 时间, 主题"))
        .split(u'\n', Qt::SkipEmptyParts);
}

QString timeText(const QDateTime &time)
{
    return time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

// The reminders that the file gives over the 366 days from the import, "subject|time" in time order: a row,
// and the later occurrences of its rule.
QString stored(const TempDatabase &db)
{
    QHash<qint64, Repetition> rules;
    QStringList reminders;
    const QDateTime end = FakeClock().now().addDays(366);
    for (const QString &row : rowsOf(db, rules)) {
        const QString subject = row.section(u'|', 1, 1);
        reminders << subject + u'|' + row.section(u'|', 2);
        const auto rule = rules.constFind(row.section(u'|', 0, 0).toLongLong());
        if (rule == rules.constEnd())
            continue;
        for (QDateTime at = rule->nextAfter(parseDateTimeText(row.section(u'|', 2))); at.isValid() && at <= end;
             at = rule->nextAfter(at))
            reminders << subject + u'|' + timeText(at);
    }
    std::sort(reminders.begin(), reminders.end(), [](const QString &a, const QString &b) {
        return a.section(u'|', 1) + a.section(u'|', 0, 0) < b.section(u'|', 1) + b.section(u'|', 0, 0);
    });
    return reminders.join(u'\n');
}

// The rows of the file, "subject|时间", with "|rule|start|exceptions" for a row that repeats.
QString kept(const TempDatabase &db)
{
    QHash<qint64, Repetition> rules;
    QStringList rows;
    for (const QString &row : rowsOf(db, rules)) {
        QString shown = row.section(u'|', 1);
        if (const auto rule = rules.constFind(row.section(u'|', 0, 0).toLongLong()); rule != rules.constEnd()) {
            QStringList exceptions;
            for (const QDateTime &exception : rule->exceptions)
                exceptions << timeText(exception);
            shown += u'|' + rule->rule + u'|' + timeText(rule->start) + u'|' + exceptions.join(u',');
        }
        rows << shown;
    }
    return rows.join(u'\n');
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
    void seriesKeptAsRules_data();
    void seriesKeptAsRules();
    void changedSeriesImportedAgain_data();
    void changedSeriesImportedAgain();
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
        << QStringList{"\"Until\" repeats"};
    QTest::newRow("UNTIL in UTC, zone of the system")
        << calendar(vevent("until@outlook.com", "Until",
                           "DTSTART;TZID=America/New_York:20270105T090000\nRRULE:FREQ=DAILY;UNTIL=20270107T140000Z\n"),
                    "Microsoft Exchange Server 2010")
        << 0 << QStringList{"Until|2027-01-05T14:00:00Z", "Until|2027-01-06T14:00:00Z", "Until|2027-01-07T14:00:00Z"}
        << QStringList{"\"Until\" repeats"};
    const QStringList daily{"Daily|2026-03-10T02:00:00Z", "Daily|2026-03-11T07:00:00Z", "Daily|2026-03-13T02:00:00Z",
                            "Daily|2026-03-20T02:00:00Z"};
    QTest::newRow("overrides after the event") << calendar(kShanghai + kMaster + kMoved + kCancelled) << 0 << daily
                                               << QStringList{"imported 4 reminders (0 already imported, 0 skipped)"};
    // Without its RDATE the series is kept as a rule where the file's zone is the local one.
    QTest::newRow("overrides of a rule alone") << calendar(
        kShanghai + QByteArray(kMaster).replace("RDATE;TZID=Asia/Shanghai:20260320T100000\n", "") + kMoved + kCancelled)
                                               << 0 << daily.mid(0, 3) << QStringList{"\"Daily\" repeats"};
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
    // The RDATE has it expanded rather than kept as a rule.
    QTest::newRow("a rule cut by the limit")
        << calendar(vevent("minutely", "Minutely",
                           "DTSTART:20150101T000000\nRRULE:FREQ=MINUTELY;COUNT=5000000\nRDATE:20150101T000000\n"))
        << 0 << QStringList{} << QStringList{"\"Minutely\"", "cut at 2018-10-20 21:19:00", "imported 0 reminders"};
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

// Series from a day before the import (FakeClock: 2026-03-04 08:30), in floating time so that every zone
// keeps them as rules.
void TestIcsImport::seriesKeptAsRules_data()
{
    QTest::addColumn<QByteArray>("ics");
    QTest::addColumn<QString>("rows"); // see kept()
    QTest::addColumn<QString>("told");

    const QByteArray alarm = "BEGIN:VALARM\nACTION:DISPLAY\nTRIGGER:%1\nEND:VALARM\n";
    QTest::newRow("weekly with COUNT, its alarm before it")
        << calendar(vevent("w", "Weekly",
                           "DTSTART:20260302T090000\nRRULE:FREQ=WEEKLY;COUNT=4\n"
                               + QByteArray(alarm).replace("%1", "-PT15M")))
        << "Weekly|2026-03-09 08:45:00|FREQ=WEEKLY;COUNT=4|2026-03-02 08:45:00|"
        << "\"Weekly\" repeats by its rule: 1 reminder, next at 2026-03-09 08:45:00";
    // The alarm an hour early moves the end and the exception along; the first one left is tomorrow's.
    QTest::newRow("daily with UNTIL and EXDATE")
        << calendar(vevent("d", "Daily",
                           "DTSTART:20260303T200000\nRRULE:FREQ=DAILY;UNTIL=20260310T200000\n"
                           "EXDATE:20260304T200000\n"
                               + QByteArray(alarm).replace("%1", "-PT1H")))
        << "Daily|2026-03-05 19:00:00|FREQ=DAILY;UNTIL=20260310T190000|2026-03-03 19:00:00|2026-03-04 19:00:00"
        << "next at 2026-03-05 19:00:00";
    QTest::newRow("all-day, weekly until a date")
        << calendar(vevent("b", "Bins", "DTSTART;VALUE=DATE:20260304\nRRULE:FREQ=WEEKLY;UNTIL=20260325\n"))
        << "Bins|2026-03-04 09:00:00|FREQ=WEEKLY;UNTIL=20260325T090000|2026-03-04 09:00:00|"
        << "next at 2026-03-04 09:00:00";
    // The first occurrence moved to the next day, the third cancelled.
    QTest::newRow("an occurrence moved and one cancelled")
        << calendar(vevent("r", "Review", "DTSTART:20260305T100000\nRRULE:FREQ=WEEKLY;COUNT=5\n")
                    + vevent("r", "Review", "RECURRENCE-ID:20260305T100000\nDTSTART:20260306T150000\n")
                    + vevent("r", "Review",
                             "RECURRENCE-ID:20260319T100000\nDTSTART:20260319T100000\n"
                             "STATUS:CANCELLED\n"))
        << "Review|2026-03-06 15:00:00\n"
           "Review|2026-03-12 10:00:00|FREQ=WEEKLY;COUNT=5|2026-03-05 10:00:00|2026-03-05 10:00:00,2026-03-19 10:00:00"
        << "imported 2 reminders";
    QTest::newRow("a series that has ended")
        << calendar(vevent("o", "Old", "DTSTART:20250101T090000\nRRULE:FREQ=DAILY;COUNT=3\n")) << QString()
        << "\"Old\" repeats: its series has ended";
    // A rule of Mondays cannot carry reminders on Sundays: it is expanded.
    QTest::newRow("an alarm a day before a rule of weekdays")
        << calendar(vevent("m", "Monday",
                           "DTSTART:20260309T090000\nRRULE:FREQ=WEEKLY;BYDAY=MO;COUNT=3\n"
                               + QByteArray(alarm).replace("%1", "-P1D")))
        << "Monday|2026-03-08 09:00:00\nMonday|2026-03-15 09:00:00\nMonday|2026-03-22 09:00:00"
        << "repeats: 3 reminders over the next 366 days";
}

void TestIcsImport::seriesKeptAsRules()
{
    QFETCH(QByteArray, ics);
    QFETCH(QString, rows);
    QFETCH(QString, told);
    TempDatabase db;
    const CliRun first = runInProcess(db, {"import", "--ics", "-"}, ics);
    QCOMPARE(first.status, 0);
    QVERIFY2(first.out.contains(told), qPrintable(first.out + first.error));
    QCOMPARE(kept(db), rows);

    const CliRun again = runInProcess(db, {"import", "--ics", "-"}, ics);
    const qsizetype count = rows.isEmpty() ? 0 : rows.count(u'\n') + 1;
    QVERIFY2(again.out.contains(QStringLiteral("imported 0 reminders (%1 already imported").arg(count)),
             qPrintable(again.out));
    QCOMPARE(kept(db), rows);
}

// A weekly series imported, then its file changed and imported again: the one row and its rule follow it.
void TestIcsImport::changedSeriesImportedAgain_data()
{
    QTest::addColumn<QByteArray>("summary");
    QTest::addColumn<QByteArray>("lines"); // the event's other lines
    QTest::addColumn<QString>("rows");     // see kept()

    const QByteArray weekly = "DTSTART:20260302T090000\nRRULE:FREQ=WEEKLY;COUNT=4\n";
    const QString before = QStringLiteral("Weekly|2026-03-09 09:00:00|FREQ=WEEKLY;COUNT=4|2026-03-02 09:00:00|");
    QTest::newRow("unchanged") << QByteArray("Weekly") << weekly << before;
    QTest::newRow("subject and content") << QByteArray("Weekly, moved") << weekly + "DESCRIPTION:Room 2\n"
                                         << QString(before).replace(QStringLiteral("Weekly|"),
                                                                    QStringLiteral("Weekly, moved|"));
    QTest::newRow("rule") << QByteArray("Weekly") << QByteArray("DTSTART:20260302T090000\nRRULE:FREQ=DAILY;COUNT=10\n")
                          << QStringLiteral("Weekly|2026-03-04 09:00:00|FREQ=DAILY;COUNT=10|2026-03-02 09:00:00|");
    QTest::newRow("time") << QByteArray("Weekly") << QByteArray("DTSTART:20260302T111500\nRRULE:FREQ=WEEKLY;COUNT=4\n")
                          << QStringLiteral("Weekly|2026-03-09 11:15:00|FREQ=WEEKLY;COUNT=4|2026-03-02 11:15:00|");
    QTest::newRow("an exception")
        << QByteArray("Weekly") << weekly + "EXDATE:20260309T090000\n"
        << QStringLiteral("Weekly|2026-03-16 09:00:00|FREQ=WEEKLY;COUNT=4|2026-03-02 09:00:00|2026-03-09 09:00:00");
}

void TestIcsImport::changedSeriesImportedAgain()
{
    QFETCH(QByteArray, summary);
    QFETCH(QByteArray, lines);
    QFETCH(QString, rows);
    TempDatabase db;
    const QByteArray first = calendar(vevent("w", "Weekly", "DTSTART:20260302T090000\nRRULE:FREQ=WEEKLY;COUNT=4\n"));
    QCOMPARE(runInProcess(db, {"import", "--ics", "-"}, first).status, 0);
    const QString imported = kept(db);
    const bool changes = imported != rows;
    const QByteArray again = calendar(vevent("w", summary, lines));

    const CliRun dry = runInProcess(db, {"import", "--ics", "-", "--dry-run"}, again);
    QVERIFY2(dry.out.contains(changes ? "would import 0 reminders (0 already imported, 1 to update, 0 skipped)"
                                      : "would import 0 reminders (1 already imported, 0 skipped)"),
             qPrintable(dry.out));
    QCOMPARE(kept(db), imported);

    const CliRun run = runInProcess(db, {"import", "--ics", "-"}, again);
    QVERIFY2(run.out.contains(changes ? "imported 0 reminders (0 already imported, 1 updated, 0 skipped)"
                                      : "imported 0 reminders (1 already imported, 0 skipped)"),
             qPrintable(run.out));
    QCOMPARE(kept(db), rows);
    // In place: the same row, its rule alone.
    QCOMPARE(db.sql(QStringLiteral("select group_concat(rowid) from 日程提醒")).trimmed(), QStringLiteral("1"));
    QCOMPARE(db.sql(QStringLiteral("select group_concat(row) from reminder_repeats")).trimmed(), QStringLiteral("1"));

    // Taken out of its series here, it is left as it is.
    db.sql(QStringLiteral("delete from reminder_repeats"));
    const QByteArray monthly = calendar(vevent("w", "Weekly", "DTSTART:20260302T090000\nRRULE:FREQ=MONTHLY;COUNT=2\n"));
    const CliRun third = runInProcess(db, {"import", "--ics", "-"}, monthly);
    QVERIFY2(third.out.contains("(1 already imported, 0 skipped)"), qPrintable(third.out));
    QCOMPARE(kept(db), rows.section(u'|', 0, 1));
}

QTEST_GUILESS_MAIN(TestIcsImport)
#include "tst_icsimport.moc"
