#include "cli/commandline.h"
#include "tests/cli/clirun.h"
#include "tests/support/tempdatabase.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <ctime>
#include <libical/ical.h>

namespace {

QByteArray digest(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// Every row as "主题|内容|时间|日期", in id order.
QString rows(const TempDatabase &db)
{
    return db.sql(QStringLiteral("select 主题||'|'||内容||'|'||时间||'|'||日期 from 日程提醒 order by id"));
}

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &content)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(content);
    return path;
}

// Calendar files as calendar programs write them: CRLF line ends, long lines folded at 75 octets.
QByteArray calendar(const QByteArray &lines)
{
    QByteArray text = lines;
    text.replace("\n", "\r\n");
    return text;
}

// An event list from a desktop calendar, in the zone of its VTIMEZONE, with alarms before the start.
const QByteArray kDesktopCalendar = calendar(R"(BEGIN:VCALENDAR
PRODID:-//Mozilla.org/NONSGML Mozilla Calendar V1.1//EN
VERSION:2.0
BEGIN:VTIMEZONE
TZID:Asia/Shanghai
X-LIC-LOCATION:Asia/Shanghai
BEGIN:STANDARD
TZOFFSETFROM:+0800
TZOFFSETTO:+0800
TZNAME:CST
DTSTART:19700101T000000
END:STANDARD
END:VTIMEZONE
BEGIN:VEVENT
CREATED:20260301T080000Z
LAST-MODIFIED:20260301T080000Z
DTSTAMP:20260301T080000Z
UID:6f1c7e2a-1b1d-4c59-9a53-2f0d9c1e0001
SUMMARY:Project review\, phase 2\; bring slides
DTSTART;TZID=Asia/Shanghai:20260310T093000
DTEND;TZID=Asia/Shanghai:20260310T103000
DESCRIPTION:Agenda:\n1. Budget\, costs\n2. A long line that the calendar 
 program folded over two lines
BEGIN:VALARM
ACTION:DISPLAY
TRIGGER;VALUE=DURATION:-PT15M
DESCRIPTION:Default Mozilla Description
END:VALARM
END:VEVENT
BEGIN:VEVENT
DTSTAMP:20260301T080000Z
UID:6f1c7e2a-1b1d-4c59-9a53-2f0d9c1e0002
SUMMARY:牙医
DTSTART;TZID=Asia/Shanghai:20260311T140000
DTEND;TZID=Asia/Shanghai:20260311T150000
END:VEVENT
END:VCALENDAR
)");

// All-day events as a web calendar publishes them; one with an alarm at 09:00 of the day before.
const QByteArray kAllDayCalendar = calendar(R"(BEGIN:VCALENDAR
PRODID:-//Google Inc//Google Calendar 70.9054//EN
VERSION:2.0
CALSCALE:GREGORIAN
METHOD:PUBLISH
X-WR-CALNAME:Family
X-WR-TIMEZONE:Asia/Shanghai
BEGIN:VEVENT
DTSTART;VALUE=DATE:20260314
DTEND;VALUE=DATE:20260315
DTSTAMP:20260301T010203Z
UID:0a1b2c3d4e5f@google.com
DESCRIPTION:
SEQUENCE:0
STATUS:CONFIRMED
SUMMARY:Mum's birthday
TRANSP:TRANSPARENT
END:VEVENT
BEGIN:VEVENT
DTSTART;VALUE=DATE:20260320
DTEND;VALUE=DATE:20260321
DTSTAMP:20260301T010203Z
UID:1b2c3d4e5f6a@google.com
SUMMARY:Pay rent
BEGIN:VALARM
ACTION:DISPLAY
DESCRIPTION:This is an event reminder
TRIGGER:-P0DT15H0M0S
END:VALARM
END:VEVENT
END:VCALENDAR
)");

// Recurring events: weekly until a day, less one date; daily a few times; monthly since long ago.
const QByteArray kRecurringCalendar = calendar(R"(BEGIN:VCALENDAR
PRODID:-//Apple Inc.//macOS 14.0//EN
VERSION:2.0
BEGIN:VEVENT
UID:weekly-standup@example.org
DTSTAMP:20260301T000000Z
DTSTART:20260302T090000
DTEND:20260302T091500
RRULE:FREQ=WEEKLY;BYDAY=MO,WE;UNTIL=20260401T000000
EXDATE:20260311T090000
SUMMARY:Standup
END:VEVENT
BEGIN:VEVENT
UID:medicine@example.org
DTSTAMP:20260301T000000Z
DTSTART:20260303T180000
RRULE:FREQ=DAILY;COUNT=3
SUMMARY:Medicine
END:VEVENT
BEGIN:VEVENT
UID:rent@example.org
DTSTAMP:20150101T000000Z
DTSTART:20150115T100000
RRULE:FREQ=MONTHLY;BYMONTHDAY=15
SUMMARY:Water the plants
END:VEVENT
END:VCALENDAR
)");

// Times in other zones: Windows zone names with their VTIMEZONE, UTC, and an IANA zone without one.
const QByteArray kTimeZoneCalendar = calendar(R"(BEGIN:VCALENDAR
METHOD:PUBLISH
PRODID:Microsoft Exchange Server 2010
VERSION:2.0
BEGIN:VTIMEZONE
TZID:Pacific Standard Time
BEGIN:STANDARD
DTSTART:16010101T020000
TZOFFSETFROM:-0700
TZOFFSETTO:-0800
RRULE:FREQ=YEARLY;INTERVAL=1;BYDAY=1SU;BYMONTH=11
END:STANDARD
BEGIN:DAYLIGHT
DTSTART:16010101T020000
TZOFFSETFROM:-0800
TZOFFSETTO:-0700
RRULE:FREQ=YEARLY;INTERVAL=1;BYDAY=2SU;BYMONTH=3
END:DAYLIGHT
END:VTIMEZONE
BEGIN:VEVENT
UID:040000008200E00074C5B7101A82E00800000000D0F1A2B3C4D5E601000000000000000010
 000000A1B2C3D4E5F60718293A4B5C6D7E8F90
SUMMARY;LANGUAGE=en-US:Call with Seattle
DTSTART;TZID=Pacific Standard Time:20260305T170000
DTEND;TZID=Pacific Standard Time:20260305T173000
DTSTAMP:20260301T120000Z
BEGIN:VALARM
DESCRIPTION:REMINDER
TRIGGER;RELATED=START:-PT10M
ACTION:DISPLAY
END:VALARM
END:VEVENT
BEGIN:VEVENT
UID:maintenance@example.org
DTSTAMP:20260301T120000Z
SUMMARY:Server maintenance
DTSTART:20260306T020000Z
END:VEVENT
BEGIN:VEVENT
UID:berlin@example.org
DTSTAMP:20260301T120000Z
SUMMARY:Berlin call
DTSTART;TZID=Europe/Berlin:20260401T100000
END:VEVENT
END:VCALENDAR
)");

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void badArgumentsAreRefused_data();
    void badArgumentsAreRefused();
    void storeFailures_data();
    void storeFailures();
    void initMakesAStarterFileOnce();
    void defaultFile();
    void addStoresAsTheAddPageDoes_data();
    void addStoresAsTheAddPageDoes();
    void listShowsTimeOrder();
    void listJson();
    void controlCharactersAreShownSafely();
    void deleteDoesTheOthersAndReportsUnknownIds();
    void exportIsReadBackByLibical();
    void exportsOfTwoFilesNeverShareUids();
    void exportWritesLineBreaks_data();
    void exportWritesLineBreaks();
    void roundTrip_data();
    void roundTrip();
    void importCalendarPrograms_data();
    void importCalendarPrograms();
    void importsNothingTwice();
    void importSkipsWhatItCannotUse();
    void failedImportLeavesTheStore_data();
    void failedImportLeavesTheStore();
    void repeatingReminders();
};

void TestCli::initTestCase()
{
    // The calendars' times are converted into this local time.
    qputenv("TZ", "Asia/Shanghai");
    tzset();
}

void TestCli::badArgumentsAreRefused_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("named");
    const QString at = QStringLiteral("2026-03-04 09:00");
    const QString megabyte(1024 * 1024 + 1, u'x');
    QTest::newRow("no command") << QStringList() << "command";
    QTest::newRow("unknown command") << QStringList{"show"} << "'show'";
    QTest::newRow("unknown option") << QStringList{"list", "--week"} << "week";
    QTest::newRow("another command's option") << QStringList{"list", "--at", at} << "--at";
    QTest::newRow("no subject") << QStringList{"add", "--at", at} << "SUBJECT";
    QTest::newRow("blank subject") << QStringList{"add", " \t\r\n", "--at", at} << "SUBJECT";
    QTest::newRow("two subjects") << QStringList{"add", "a", "b", "--at", at} << "SUBJECT";
    QTest::newRow("subject over 1 MB") << QStringList{"add", megabyte, "--at", at} << "SUBJECT";
    QTest::newRow("content over 1 MB") << QStringList{"add", "s", "--at", at, "--content", megabyte} << "--content";
    QTest::newRow("no time") << QStringList{"add", "s"} << "--at";
    QTest::newRow("time without value") << QStringList{"add", "s", "--at"} << "--at";
    QTest::newRow("impossible date") << QStringList{"add", "s", "--at", "2026-02-30 09:00"} << "--at";
    QTest::newRow("loose form") << QStringList{"add", "s", "--at", "2026-3-4 9:00"} << "--at";
    QTest::newRow("hour 24") << QStringList{"add", "s", "--at", "2026-03-04 24:00"} << "--at";
    QTest::newRow("midnight") << QStringList{"add", "s", "--at", "2026-03-04 00:00:00"} << "--at";
    QTest::newRow("bad day") << QStringList{"list", "--date", "2026-13-01"} << "--date";
    QTest::newRow("two selections") << QStringList{"list", "--today", "--all"} << "--today";
    QTest::newRow("from after to") << QStringList{"list", "--from", "2026-03-05", "--to", "2026-03-04"} << "--from";
    QTest::newRow("delete nothing") << QStringList{"delete"} << "ID";
    QTest::newRow("delete a word") << QStringList{"delete", "1", "one"} << "'one'";
    QTest::newRow("export without file") << QStringList{"export"} << "--ics";
    QTest::newRow("import without file") << QStringList{"import", "--dry-run"} << "--ics";
}

// Bad input: status 1, one message naming the argument, and the store as it was.
void TestCli::badArgumentsAreRefused()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, named);
    TempDatabase db;
    db.sql(
        QStringLiteral("insert into 日程提醒(主题,内容,时间,日期) values('s','c','2026-03-04 09:00:00','2026-03-04')"));
    const QByteArray before = digest(db.path());
    const CliRun result = runInProcess(db, arguments);
    QCOMPARE(result.status, 1);
    QVERIFY2(result.error.startsWith(QLatin1String("orvane-db: ")) && result.error.contains(named),
             qPrintable(result.error));
    QCOMPARE(result.error.count(u'\n'), 1);
    QCOMPARE(result.out, QString());
    QCOMPARE(digest(db.path()), before);
}

void TestCli::storeFailures_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("content"); // of the file named by --file; none when null
    const QByteArray none;
    const QByteArray garbage(4096, 'x');
    QTest::newRow("list, missing") << QStringList{"list"} << none;
    QTest::newRow("add, missing") << QStringList{"add", "s", "--at", "2026-03-04 09:00"} << none;
    QTest::newRow("delete, not a database") << QStringList{"delete", "1"} << garbage;
    QTest::newRow("export, not a database") << QStringList{"export", "--ics", "-"} << garbage;
    QTest::newRow("import, missing") << QStringList{"import", "--ics", "-"} << none;
}

// The database file fails: status 2 and the store's own message naming the file.
void TestCli::storeFailures()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, content);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("data.mdb"));
    if (!content.isNull())
        writeFile(dir, QStringLiteral("data.mdb"), content);
    const CliRun result = runInProcess(QStringList{"--file", path} + arguments, kDesktopCalendar);
    QCOMPARE(result.status, 2);
    QVERIFY2(result.error.contains(path), qPrintable(result.error));
    QCOMPARE(QFile::exists(path), !content.isNull());
}

void TestCli::initMakesAStarterFileOnce()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("new/folder/data.mdb"));
    const CliRun made = runInProcess({"--file", path, "init"});
    QCOMPARE(made.status, 0);
    QCOMPARE(made.out, QStringLiteral("created %1\n").arg(path));
    QCOMPARE(runInProcess({"--file", path, "add", "s", "--at", "2026-03-04 09:00"}).status, 0);

    const QByteArray before = digest(path);
    const CliRun again = runInProcess({"--file", path, "init"});
    QCOMPARE(again.status, 1);
    QVERIFY2(again.error.contains(path), qPrintable(again.error));
    QCOMPARE(digest(path), before);
}

// Without --file: ./data.mdb where there is one, else the per-user file; init makes ./data.mdb.
void TestCli::defaultFile()
{
    QTemporaryDir home;
    QTemporaryDir work;
    const QString was = QDir::currentPath();
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    const auto restore = qScopeGuard([&] {
        QDir::setCurrent(was);
        qputenv("XDG_DATA_HOME", dataHome);
    });
    qputenv("XDG_DATA_HOME", home.path().toUtf8());
    QVERIFY(QDir::setCurrent(work.path()));
    const QString own = home.filePath(QStringLiteral("orvane-reminder/data.mdb"));
    QCOMPARE(defaultStorePath(), own);
    // A relative XDG_DATA_HOME is not a base folder: the one in the home folder is used.
    const QByteArray userHome = qgetenv("HOME");
    const auto restoreHome = qScopeGuard([&] { qputenv("HOME", userHome); });
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_DATA_HOME", "relative/share");
    QCOMPARE(defaultStorePath(), home.filePath(QStringLiteral(".local/share/orvane-reminder/data.mdb")));
    qputenv("XDG_DATA_HOME", home.path().toUtf8());
    QCOMPARE(runInProcess({"--file", own, "init"}).status, 0);
    QCOMPARE(runInProcess({"add", "per-user", "--at", "2026-03-04 09:00"}).status, 0);

    QCOMPARE(runInProcess({"init"}).out, QStringLiteral("created %1\n").arg(work.filePath(QStringLiteral("data.mdb"))));
    QCOMPARE(runInProcess({"add", "here", "--at", "2026-03-04 09:00"}).status, 0);
    QVERIFY(runInProcess({"list", "--all"}).out.contains(QLatin1String("here")));
    QVERIFY(!runInProcess({"list", "--all"}).out.contains(QLatin1String("per-user")));
    QVERIFY(runInProcess({"--file", own, "list", "--all"}).out.contains(QLatin1String("per-user")));
}

void TestCli::addStoresAsTheAddPageDoes_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("row");
    const QString at = QStringLiteral("2026-03-05 09:30");
    QTest::newRow("subject trimmed") << QStringList{"add", "\t Standup \r\n", "--at", at, "--content", "c"}
                                     << "Standup|c|2026-03-05 09:30:00|2026-03-05";
    QTest::newRow("full-width blanks kept") << QStringList{"add", "\u3000会议\u3000", "--at", at, "--content", "c"}
                                            << "\u3000会议\u3000|c|2026-03-05 09:30:00|2026-03-05";
    QTest::newRow("content as typed") << QStringList{"add", "s", "--at", at, "--content", "  two\r\nlines, 'quoted'  "}
                                      << "s|  two\r\nlines, 'quoted'  |2026-03-05 09:30:00|2026-03-05";
    QTest::newRow("no content") << QStringList{"add", "s", "--at", at} << "s||2026-03-05 09:30:00|2026-03-05";
    QTest::newRow("seconds") << QStringList{"add", "s", "--at", "2026-12-31 23:59:59"}
                             << "s||2026-12-31 23:59:59|2026-12-31";
    QTest::newRow("one second past midnight")
        << QStringList{"add", "s", "--at", "2026-03-05 00:00:01"} << "s||2026-03-05 00:00:01|2026-03-05";
}

void TestCli::addStoresAsTheAddPageDoes()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, row);
    TempDatabase db;
    const CliRun result = runInProcess(db, arguments);
    QCOMPARE(result.status, 0);
    // Bracketed: the shell's output is trimmed of every blank, full-width ones too.
    QCOMPARE(db.sql(QStringLiteral("select '['||主题||'|'||内容||'|'||时间||'|'||日期||']' from 日程提醒")),
             u'[' + row + u']');
    QCOMPARE(db.sql(QStringLiteral("select typeof(内容) from 日程提醒")), QStringLiteral("text"));
    QVERIFY2(result.out.startsWith(QLatin1String("added 1 ")), qPrintable(result.out));
    // A reminder that can never fall due is stored, and the user is told.
    QCOMPARE(result.error.contains(QLatin1String("never")), !row.contains(QLatin1String(":00|")));
}

void TestCli::listShowsTimeOrder()
{
    TempDatabase db;
    db.sql(QStringLiteral(
        "drop table 日程提醒; create table 日程提醒(id integer primary key, 主题, 内容, 时间, 日期);"
        "insert into 日程提醒(主题,内容,时间,日期) values"
        "('late','','2026-03-04 18:00:00','2026-03-04'),"
        "('牙医预约','两行\r\n内容，而且很长很长很长很长很长很长很长很长很长很长很长很长很长很长很长','2026-03-04 "
        "09:30:00','2026-03-04'),"
        "('early','x','2026-03-04 09:30:00','2026-03-04'),"
        "(null,null,'tomorrow','2026-03-04'),"
        "('listed by its day','','2026-03-09 10:00:00','2026-03-04'),"
        "('another day','','2026-03-05 10:00:00','2026-03-05')"));

    const CliRun today = runInProcess(db, {"list"});
    QCOMPARE(today.status, 0);
    QCOMPARE(runInProcess(db, {"list", "--today"}).out, today.out);
    QCOMPARE(runInProcess(db, {"list", "--date", "2026-03-04"}).out, today.out);
    const QStringList lines = today.out.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 6);
    // 'tomorrow' sorts after every date, as the engine compares texts.
    const QStringList order{"ID", " 2", " 3", " 1", " 5", " 4"};
    for (int i = 0; i < lines.size(); ++i)
        QVERIFY2(lines.at(i).startsWith(order.at(i)), qPrintable(lines.at(i)));
    QVERIFY(lines.at(1).contains(QStringLiteral("2026-03-04 09:30:00  牙医预约")));
    QVERIFY(lines.at(5).contains(QLatin1String(" -  ")));
    // The content is one line, shortened; it starts in the same terminal column on every row.
    QVERIFY(lines.at(1).contains(QStringLiteral("两行 内容")) && lines.at(1).endsWith(u'…'));
    const auto contentColumn = [](const QString &line, const QString &content) {
        const QString before = line.left(line.indexOf(content));
        return before.size() + before.count(QRegularExpression(QStringLiteral("[\\x{4e00}-\\x{9fff}]")));
    };
    QCOMPARE(contentColumn(lines.at(1), QStringLiteral("两行")), contentColumn(lines.at(2), QStringLiteral("x")));
    QCOMPARE(contentColumn(lines.at(0), QStringLiteral("CONTENT")), contentColumn(lines.at(2), QStringLiteral("x")));

    const CliRun range = runInProcess(db, {"list", "--from", "2026-03-05", "--to", "2026-03-05"});
    QCOMPARE(range.out.count(u'\n'), 2);
    QVERIFY(range.out.contains(QLatin1String("another day")));
    QCOMPARE(runInProcess(db, {"list", "--from", "2026-03-05"}).out, range.out);
    QCOMPARE(runInProcess(db, {"list", "--all"}).out.count(u'\n'), 7);
    QCOMPARE(runInProcess(db, {"list", "--date", "2026-04-01"}).out, QStringLiteral("no reminders on 2026-04-01\n"));
}

void TestCli::listJson()
{
    TempDatabase db;
    db.sql(QStringLiteral("drop table 日程提醒; create table 日程提醒(id integer primary key, 主题, 内容, 时间, 日期);"
                          "insert into 日程提醒(主题,内容,时间,日期) values"
                          "('会议 \"A\"','line1\r\nline2\\','2026-03-04 09:30:00','2026-03-04'),"
                          "(null,null,'2026-02-30 09:00:00',null)"));
    const CliRun result = runInProcess(db, {"list", "--all", "--json"});
    QCOMPARE(result.status, 0);
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(result.out.toUtf8(), &error);
    QVERIFY2(error.error == QJsonParseError::NoError, qPrintable(error.errorString()));
    const QJsonArray array = document.array();
    QCOMPARE(array.size(), 2);
    const QJsonObject odd = array.at(0).toObject();
    QCOMPARE(odd.value("id").toInteger(), 2);
    for (const char *field : {"subject", "content", "due", "day"})
        QVERIFY2(odd.value(QLatin1String(field)).isNull(), field);
    const QJsonObject first = array.at(1).toObject();
    QCOMPARE(first.value("id").toInteger(), 1);
    QCOMPARE(first.value("subject").toString(), QStringLiteral("会议 \"A\""));
    QCOMPARE(first.value("content").toString(), QStringLiteral("line1\r\nline2\\"));
    QCOMPARE(first.value("due").toString(), QStringLiteral("2026-03-04T09:30:00"));
    QCOMPARE(first.value("day").toString(), QStringLiteral("2026-03-04"));

    QCOMPARE(runInProcess(db, {"list", "--date", "2026-04-01", "--json"}).out, QStringLiteral("[]\n"));
}

// Text from other programs reaches a terminal as text: its control characters cannot set the terminal's title
// or clear its screen. Machine output stays exact.
void TestCli::controlCharactersAreShownSafely()
{
    const QString title = QStringLiteral("a\x1b]0;owned\x07"
                                         "b\x9b"
                                         "2J");
    const QString shown = QStringLiteral("a\\x1b]0;owned\\x07b\\x9b2J");
    const auto isSafe = [](const QString &text) {
        return std::none_of(text.begin(), text.end(), [](QChar c) {
            return (c.unicode() < 0x20 && c != u'\n') || (c.unicode() >= 0x7f && c.unicode() < 0xa0);
        });
    };
    TempDatabase db;
    const CliRun added = runInProcess(db, {"add", title, "--at", "2026-03-04 09:00", "--content", "x\x1b[2Jy"});
    QVERIFY2(isSafe(added.out) && added.out.contains(shown), qPrintable(added.out));
    const CliRun listed = runInProcess(db, {"list"});
    QVERIFY2(isSafe(listed.out) && listed.out.contains(shown) && listed.out.contains(QLatin1String("x\\x1b[2Jy")),
             qPrintable(listed.out));
    const CliRun json = runInProcess(db, {"list", "--json"});
    QCOMPARE(QJsonDocument::fromJson(json.out.toUtf8()).array().at(0).toObject().value("subject").toString(), title);

    const QByteArray ics = calendar("BEGIN:VCALENDAR\nVERSION:2.0\n"
                                    "BEGIN:VEVENT\nUID:1\nSUMMARY:a\x1b]0;owned\x07"
                                    "b\nEND:VEVENT\n"
                                    "BEGIN:VEVENT\nUID:2\nSUMMARY:z\x1b[2J\nDTSTART;TZID=\x1b[2J:20260305T090000\n"
                                    "END:VEVENT\n"
                                    "BEGIN:VEVENT\nUID:3\nSUMMARY:r\x1b[2J\nDTSTART:20260305T090000\n"
                                    "RRULE:FREQ=DAILY;COUNT=2\nEND:VEVENT\nEND:VCALENDAR\n");
    const CliRun imported = runInProcess(db, {"import", "--ics", "-"}, ics);
    QCOMPARE(imported.status, 0);
    QVERIFY2(isSafe(imported.error) && imported.error.contains(QLatin1String("a\\x1b]0;owned\\x07b")),
             qPrintable(imported.error));
    QVERIFY2(imported.error.contains(QLatin1String("'\\x1b[2J'")), qPrintable(imported.error));
    QVERIFY2(isSafe(imported.out) && imported.out.contains(QLatin1String("r\\x1b[2J")), qPrintable(imported.out));
}

void TestCli::deleteDoesTheOthersAndReportsUnknownIds()
{
    TempDatabase db;
    for (const char *subject : {"a", "b", "c"})
        runInProcess(db, {"add", QString::fromLatin1(subject), "--at", "2026-03-04 09:00"});
    const CliRun result = runInProcess(db, {"delete", "1", "99", "3"});
    QCOMPARE(result.status, 1);
    QCOMPARE(result.out, QStringLiteral("deleted 1\ndeleted 3\n"));
    QCOMPARE(result.error, QStringLiteral("orvane-db: ID 99: no such reminder\n"));
    QCOMPARE(db.sql(QStringLiteral("select group_concat(主题) from 日程提醒")), QStringLiteral("b"));
    // An id given twice goes once, and is not reported missing the second time.
    const CliRun twice = runInProcess(db, {"delete", "2", "2"});
    QCOMPARE(twice.status, 0);
    QCOMPARE(twice.out, QStringLiteral("deleted 2\n"));
    QCOMPARE(twice.error, QString());
}

// What export writes is an iCalendar file that libical reads without a complaint, one event with an alarm
// per reminder, floating local times, and the same UIDs every time.
void TestCli::exportIsReadBackByLibical()
{
    TempDatabase db;
    runInProcess(db, {"add", "a", "--at", "2026-03-04 09:30", "--content", "x"});
    runInProcess(db, {"add", "b", "--at", "2026-03-05 10:00"});
    // Another program's row that names no time.
    db.sql(QStringLiteral("alter table 日程提醒 rename to old;"
                          "create table 日程提醒(id integer primary key, 主题, 内容, 时间, 日期);"
                          "insert into 日程提醒 select * from old; drop table old;"
                          "insert into 日程提醒(主题,内容,时间,日期) values('odd','','not a time','2026-03-04')"));
    const CliRun first = runInProcess(db, {"export", "--ics", "-"});
    QCOMPARE(first.status, 0);
    QVERIFY2(first.error.contains(QLatin1String("reminder 3")), qPrintable(first.error));

    icalcomponent *parsed = icalparser_parse_string(first.out.toUtf8().constData());
    QVERIFY(parsed);
    const auto free = qScopeGuard([parsed] { icalcomponent_free(parsed); });
    QCOMPARE(icalcomponent_count_errors(parsed), 0);
    QCOMPARE(icalcomponent_isa(parsed), ICAL_VCALENDAR_COMPONENT);
    QCOMPARE(icalcomponent_count_components(parsed, ICAL_VEVENT_COMPONENT), 2);
    QStringList uids;
    for (icalcomponent *event = icalcomponent_get_first_component(parsed, ICAL_VEVENT_COMPONENT); event;
         event = icalcomponent_get_next_component(parsed, ICAL_VEVENT_COMPONENT)) {
        uids << QString::fromUtf8(icalcomponent_get_uid(event));
        const icaltimetype start = icalcomponent_get_dtstart(event);
        QVERIFY(!icaltime_is_utc(start) && !start.zone && !start.is_date);
        icalcomponent *alarm = icalcomponent_get_first_component(event, ICAL_VALARM_COMPONENT);
        QVERIFY(alarm);
        QCOMPARE(icalproperty_get_action(icalcomponent_get_first_property(alarm, ICAL_ACTION_PROPERTY)),
                 ICAL_ACTION_DISPLAY);
        const icaltriggertype trigger =
            icalproperty_get_trigger(icalcomponent_get_first_property(alarm, ICAL_TRIGGER_PROPERTY));
        QCOMPARE(icaldurationtype_as_int(trigger.duration), 0);
    }
    QCOMPARE(uids.size(), 2);
    QVERIFY(uids.at(0) != uids.at(1));
    const QString second = runInProcess(db, {"export", "--ics", "-"}).out;
    for (const QString &uid : std::as_const(uids))
        QVERIFY(second.contains(QStringLiteral("UID:") + uid));
}

QStringList uidsOf(const QString &calendar)
{
    QStringList uids;
    for (const QString &line : calendar.split(QStringLiteral("\r\n"))) {
        if (line.startsWith(QLatin1String("UID:")))
            uids << line.mid(4);
    }
    return uids;
}

// Two files' reminders with the same ids are different events to a calendar program.
void TestCli::exportsOfTwoFilesNeverShareUids()
{
    TempDatabase first;
    TempDatabase second;
    for (const TempDatabase *db : {&first, &second})
        QCOMPARE(runInProcess(*db, {"add", "s", "--at", "2026-03-04 09:30"}).status, 0);
    const QStringList firstUids = uidsOf(runInProcess(first, {"export", "--ics", "-"}).out);
    const QStringList secondUids = uidsOf(runInProcess(second, {"export", "--ics", "-"}).out);
    QCOMPARE(firstUids.size(), 1);
    QCOMPARE(secondUids.size(), 1);
    QVERIFY2(firstUids != secondUids, qPrintable(firstUids.join(u' ')));
    // The file keeps its id: the next export names its events alike.
    QCOMPARE(uidsOf(runInProcess(first, {"export", "--ics", "-"}).out), firstUids);
}

void TestCli::exportWritesLineBreaks_data()
{
    QTest::addColumn<QString>("content");
    QTest::addColumn<QString>("read"); // the DESCRIPTION as libical reads it back
    QTest::newRow("carriage return") << "Passport\rTickets"
                                     << "Passport\nTickets";
    QTest::newRow("CR LF") << "Passport\r\nTickets"
                           << "Passport\nTickets";
    QTest::newRow("line feed") << "Passport\nTickets"
                               << "Passport\nTickets";
}

// The program writes line breaks as carriage returns; a calendar program reads each as a line break.
void TestCli::exportWritesLineBreaks()
{
    QFETCH(QString, content);
    QFETCH(QString, read);
    TempDatabase db;
    QCOMPARE(runInProcess(db, {"add", "s", "--at", "2026-03-04 09:30", "--content", content}).status, 0);
    const CliRun exported = runInProcess(db, {"export", "--ics", "-"});
    icalcomponent *parsed = icalparser_parse_string(exported.out.toUtf8().constData());
    QVERIFY(parsed);
    const auto free = qScopeGuard([parsed] { icalcomponent_free(parsed); });
    icalcomponent *event = icalcomponent_get_first_component(parsed, ICAL_VEVENT_COMPONENT);
    QCOMPARE(QString::fromUtf8(icalcomponent_get_description(event)), read);
}

void TestCli::roundTrip_data()
{
    QTest::addColumn<QString>("subject");
    QTest::addColumn<QString>("content");
    QTest::addColumn<QString>("at");
    QTest::newRow("plain") << "Standup"
                           << "Room 4"
                           << "2026-03-04 09:30";
    QTest::newRow("iCalendar's own characters") << "a, b; c\\d: \"e\""
                                                << "x;y,z\\n not a line break"
                                                << "2026-03-04 09:30";
    QTest::newRow("line breaks") << "s"
                                 << "\none\n\ntwo\n"
                                 << "2026-03-04 09:30";
    QTest::newRow("long Chinese lines folded") << QString(120, u'提') << QString(300, u'醒') << "2026-03-04 09:30";
    QTest::newRow("blanks and tabs inside") << "s"
                                            << "a  \t\t  b"
                                            << "2026-03-04 09:30";
    QTest::newRow("past and far") << "s"
                                  << "c"
                                  << "1999-12-31 23:59";
}

// Export, then import into an empty store: the same rows.
void TestCli::roundTrip()
{
    QFETCH(QString, subject);
    QFETCH(QString, content);
    QFETCH(QString, at);
    TempDatabase source;
    QCOMPARE(runInProcess(source, {"add", subject, "--at", at, "--content", content}).status, 0);
    QCOMPARE(runInProcess(source, {"add", "second", "--at", "2026-03-05 10:00"}).status, 0);
    const CliRun exported = runInProcess(source, {"export", "--ics", "-"});
    QCOMPARE(exported.status, 0);

    TempDatabase target;
    const CliRun imported = runInProcess(target, {"import", "--ics", "-"}, exported.out.toUtf8());
    QCOMPARE(imported.status, 0);
    QCOMPARE(imported.error, QString());
    QCOMPARE(rows(target), rows(source));
}

void TestCli::importCalendarPrograms_data()
{
    QTest::addColumn<QByteArray>("ics");
    QTest::addColumn<QString>("rows");
    QTest::addColumn<QString>("told"); // a line of the standard output besides the total
    QTest::newRow("desktop calendar")
        << kDesktopCalendar
        << "Project review, phase 2; bring slides|Agenda:\n1. Budget, costs\n2. A long line that the calendar "
           "program folded over two lines|2026-03-10 09:15:00|2026-03-10\n"
           "牙医||2026-03-11 14:00:00|2026-03-11"
        << "imported 2 reminders (0 already imported, 0 skipped)";
    QTest::newRow("all-day") << kAllDayCalendar
                             << "Mum's birthday||2026-03-14 09:00:00|2026-03-14\n"
                                "Pay rent||2026-03-19 09:00:00|2026-03-19"
                             << "imported 2 reminders";
    QTest::newRow("recurring") << kRecurringCalendar
                               << "Standup||2026-03-04 09:00:00|2026-03-04\nMedicine||2026-03-04 18:00:00|2026-03-04\n"
                                  "Water the plants||2026-03-15 10:00:00|2026-03-15"
                               << "line 4: \"Standup\" repeats by its rule: 1 reminder, next at 2026-03-04 09:00:00";
    QTest::newRow("time zones") << kTimeZoneCalendar
                                << "Call with Seattle||2026-03-06 08:50:00|2026-03-06\n"
                                   "Server maintenance||2026-03-06 10:00:00|2026-03-06\n"
                                   "Berlin call||2026-04-01 16:00:00|2026-04-01"
                                << "imported 3 reminders";
}

void TestCli::importCalendarPrograms()
{
    QFETCH(QByteArray, ics);
    QFETCH(QString, rows);
    QFETCH(QString, told);
    TempDatabase db;
    QTemporaryDir dir;
    const CliRun result = runInProcess(db, {"import", "--ics", writeFile(dir, QStringLiteral("in.ics"), ics)});
    QCOMPARE(result.status, 0);
    QCOMPARE(result.error, QString());
    QCOMPARE(::rows(db), rows);
    QVERIFY2(result.out.contains(told), qPrintable(result.out));
}

// The same file, or events that are already there, come in once; a dry run writes nothing and tells.
void TestCli::importsNothingTwice()
{
    TempDatabase db;
    const QByteArray before = digest(db.path());
    const CliRun dry = runInProcess(db, {"import", "--ics", "-", "--dry-run"}, kRecurringCalendar);
    QCOMPARE(dry.status, 0);
    QVERIFY2(dry.out.contains(QLatin1String("would import 3 reminders (0 already imported, 0 skipped)")),
             qPrintable(dry.out));
    QCOMPARE(digest(db.path()), before);

    QCOMPARE(runInProcess(db, {"import", "--ics", "-"}, kRecurringCalendar).status, 0);
    const QString imported = rows(db);
    // Each series is one row with its rule.
    QCOMPARE(runInProcess(db, {"list", "--all"}).out.count(QStringLiteral("  按规则重复  ")), 3);
    const CliRun again = runInProcess(db, {"import", "--ics", "-"}, kRecurringCalendar + kDesktopCalendar);
    QVERIFY2(again.out.contains(QLatin1String("imported 2 reminders (3 already imported, 0 skipped)")),
             qPrintable(again.out));
    QVERIFY(rows(db).startsWith(imported));
    const CliRun dryAgain =
        runInProcess(db, {"import", "--ics", "-", "--dry-run"}, kDesktopCalendar + kDesktopCalendar);
    QVERIFY2(dryAgain.out.contains(QLatin1String("would import 0 reminders (4 already imported")),
             qPrintable(dryAgain.out));
    // The program's own table is as the program knows it.
    QCOMPARE(db.sql(QStringLiteral("select group_concat(name) from pragma_table_info('日程提醒')")),
             QStringLiteral("id,主题,内容,时间,日期"));
}

// What cannot become a reminder is skipped with one line each; the rest comes in.
void TestCli::importSkipsWhatItCannotUse()
{
    const QByteArray longSubject = "SUMMARY:" + QByteArray(1024 * 1024 + 1, 'a') + '\n';
    const QByteArray ics = calendar("BEGIN:VCALENDAR\nVERSION:2.0\n"
                                    "BEGIN:VEVENT\nUID:1\nSUMMARY:Impossible\nDTSTART:20260230T090000\nEND:VEVENT\n"
                                    "BEGIN:VEVENT\nUID:2\nSUMMARY:No start\nEND:VEVENT\n"
                                    "BEGIN:VTODO\nUID:3\nSUMMARY:A task\nEND:VTODO\n"
                                    "BEGIN:VEVENT\nUID:4\nSUMMARY:Called off\nSTATUS:CANCELLED\n"
                                    "DTSTART:20260305T090000\nEND:VEVENT\n"
                                    "BEGIN:VEVENT\nUID:5\n"
                                    + longSubject
                                    + "DTSTART:20260305T090000\nEND:VEVENT\n"
                                      "BEGIN:VEVENT\nUID:6\nSUMMARY:Mars\nDTSTART;TZID=Mars/Olympus:20260305T090000\n"
                                      "END:VEVENT\n"
                                      "BEGIN:VEVENT\nUID:7\nDTSTART:20260305T090000\nEND:VEVENT\n"
                                      "BEGIN:VEVENT\nUID:8\nSUMMARY:Fine\nDTSTART:20260305T090000\nEND:VEVENT\n"
                                      "END:VCALENDAR\n");
    TempDatabase db;
    const CliRun result = runInProcess(db, {"import", "--ics", "-"}, ics);
    QCOMPARE(result.status, 0);
    QCOMPARE(rows(db), QStringLiteral("Fine||2026-03-05 09:00:00|2026-03-05"));
    const QStringList lines = result.error.split(u'\n', Qt::SkipEmptyParts);
    const QStringList expected{
        "line 3: skipped event \"Impossible\": ", "line 8: skipped event \"No start\": it has no usable DTSTART",
        "line 12: skipped VTODO", "line 16: skipped event \"Called off\": it is cancelled",
        "line 22: skipped event \"aaaa", "line 32: skipped event \"\": it has no SUMMARY",
        // Told at the end: a VTIMEZONE of that name might have come later.
        "line 27: skipped event \"Mars\": its time zone 'Mars/Olympus' is unknown"};
    QCOMPARE(lines.size(), expected.size());
    for (int i = 0; i < lines.size(); ++i)
        QVERIFY2(lines.at(i).startsWith(QStringLiteral("orvane-db: ") + expected.at(i)), qPrintable(lines.at(i)));
    QVERIFY(result.out.contains(QLatin1String("imported 1 reminder (0 already imported, 7 skipped)")));
}

void TestCli::failedImportLeavesTheStore_data()
{
    QTest::addColumn<QByteArray>("ics"); // null: no such file
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("told");
    QTest::newRow("no such file") << QByteArray() << 1 << "cannot read";
    QTest::newRow("empty file") << QByteArray("") << 1 << "not an iCalendar file";
    QTest::newRow("a picture") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << 1 << "not an iCalendar file";
    QTest::newRow("a line without end") << QByteArray(6 * 1024 * 1024, 'x') << 1 << "not an iCalendar file";
    QTest::newRow("the store refuses a row") << kDesktopCalendar + kAllDayCalendar << 2 << "refused";
}

// A failed import adds nothing: not the events before the failure, not the table of imported events.
void TestCli::failedImportLeavesTheStore()
{
    QFETCH(QByteArray, ics);
    QFETCH(int, status);
    QFETCH(QString, told);
    TempDatabase db;
    db.sql(QStringLiteral("create trigger refuse before insert on 日程提醒 when new.主题 = 'Pay rent' "
                          "begin select raise(abort, 'refused'); end"));
    const QString dump = db.sql(QStringLiteral(".dump"));
    QTemporaryDir dir;
    const QString path = ics.isNull() ? dir.filePath(QStringLiteral("none.ics")) : writeFile(dir, "in.ics", ics);
    const CliRun result = runInProcess(db, {"import", "--ics", path});
    QCOMPARE(result.status, status);
    QVERIFY2(result.error.contains(told), qPrintable(result.error));
    QCOMPARE(db.sql(QStringLiteral(".dump")), dump);
}

// add --repeat keeps the rule beside the row, which holds the first occurrence; list shows the repeat in its
// own column and --json the RFC 5545 rule; export writes it; delete takes the rule along.
void TestCli::repeatingReminders()
{
    TempDatabase db;
    // 2026-03-07 is a Saturday: a series of workdays starts on Monday.
    QCOMPARE(runInProcess(db, {"add", "晨会", "--at", "2026-03-07 09:00", "--repeat", "weekdays"}).out,
             QStringLiteral("added 1 2026-03-09 09:00:00 晨会\n"));
    QCOMPARE(runInProcess(db, {"add", "账单", "--at", "2026-01-31 08:00", "--repeat", "monthly"}).status, 0);
    QCOMPARE(runInProcess(db, {"add", "x", "--at", "2026-03-04 10:00", "--repeat", "RRULE:FREQ=DAILY;COUNT=2"}).status,
             0);
    QCOMPARE(runInProcess(db, {"add", "单次", "--at", "2026-03-04 11:00"}).status, 0);
    const CliRun refused = runInProcess(db, {"add", "y", "--at", "2026-03-04 10:00", "--repeat", "sometimes"});
    QCOMPARE(refused.status, 1);
    QVERIFY2(refused.error.contains(QStringLiteral("--repeat")), qPrintable(refused.error));

    QCOMPARE(runInProcess(db, {"list", "--all"}).out,
             QStringLiteral("ID  DUE                  REPEAT      SUBJECT  CONTENT\n"
                            " 2  2026-01-31 08:00:00  每月31日    账单\n"
                            " 3  2026-03-04 10:00:00  按规则重复  x\n"
                            " 4  2026-03-04 11:00:00              单次\n"
                            " 1  2026-03-09 09:00:00  工作日      晨会\n"));
    const QJsonArray listed =
        QJsonDocument::fromJson(runInProcess(db, {"list", "--all", "--json"}).out.toUtf8()).array();
    QCOMPARE(listed.at(0).toObject().value(QStringLiteral("repeat")).toString(),
             QStringLiteral("FREQ=MONTHLY;BYMONTHDAY=31,-1;BYSETPOS=1"));
    QCOMPARE(listed.at(1).toObject().value(QStringLiteral("repeat")).toString(), QStringLiteral("FREQ=DAILY;COUNT=2"));
    QVERIFY(!listed.at(2).toObject().contains(QStringLiteral("repeat")));

    // Export: a rule of the program's own from the row's occurrence, a calendar's rule from its first one,
    // with its count and exceptions.
    db.sql(QStringLiteral("UPDATE reminder_repeats SET exceptions='2026-03-05 10:00:00' WHERE row=3;"));
    const QString calendar = runInProcess(db, {"export", "--ics", "-"}).out;
    for (const char *expected :
         {"DTSTART:20260309T090000\r\nSUMMARY:晨会\r\nRRULE:FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR\r\n",
          "DTSTART:20260304T100000\r\nSUMMARY:x\r\nRRULE:FREQ=DAILY;COUNT=2\r\n"
          "EXDATE:20260305T100000\r\n",
          "RRULE:FREQ=MONTHLY;BYMONTHDAY=31,-1;BYSETPOS=1\r\n"})
        QVERIFY2(calendar.contains(QString::fromUtf8(expected)), qPrintable(calendar));
    // Imported into another file, each series is again one row with its rule, at its next occurrence.
    TempDatabase other;
    QCOMPARE(runInProcess(other, {"import", "--ics", "-"}, calendar.toUtf8()).status, 0);
    QCOMPARE(runInProcess(other, {"list", "--all"}).out,
             QStringLiteral("ID  DUE                  REPEAT      SUBJECT  CONTENT\n"
                            " 3  2026-03-04 10:00:00  按规则重复  x\n"
                            " 1  2026-03-04 11:00:00              单次\n"
                            " 4  2026-03-09 09:00:00  按规则重复  晨会\n"
                            " 2  2026-03-31 08:00:00  按规则重复  账单\n"));

    QCOMPARE(runInProcess(db, {"delete", "2", "4"}).status, 0);
    QCOMPARE(db.sql(QStringLiteral("SELECT row FROM reminder_repeats ORDER BY row;")).trimmed(),
             QStringLiteral("1\n3"));
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
