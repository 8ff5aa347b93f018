#include "core/apperror.h"
#include "core/wallclock.h"
#include "store/reminder.h"
#include "store/reminderrepeats.h"
#include "store/reminderstore.h"
#include "store/repetition.h"
#include "tests/support/tempdatabase.h"

#include <QTest>

namespace {

// A wall-clock time as written.
QDateTime wall(const QString &text)
{
    const QDateTime written = QDateTime::fromString(text, Qt::ISODate);
    return WallClock::at(written.date(), written.time());
}

} // namespace

// Run once with TZ=Europe/Berlin and once with TZ=America/New_York: "now" is an instant, and the rules count
// in what the local clock shows at it.
class TestRepetition : public QObject
{
    Q_OBJECT

private slots:
    void nextOccurrence_data();
    void nextOccurrence();
    void writtenRules_data();
    void writtenRules();
    void rowMovesToTheNextOccurrenceAndStopsAtTheLast();
    void aRuleGoesWithItsRow();
};

void TestRepetition::nextOccurrence_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QString>("start");
    // An instant, "Z" for UTC, or the local clock's reading.
    QTest::addColumn<QString>("now");
    QTest::addColumn<QString>("next"); // empty: ended
    const bool berlin = QDateTime(QDate(2026, 7, 1), QTime(12, 0)).offsetFromUtc() == 2 * 3600;
    const bool newYork = QDateTime(QDate(2026, 7, 1), QTime(12, 0)).offsetFromUtc() == -4 * 3600;
    if (!berlin && !newYork)
        QSKIP("run with TZ=Europe/Berlin or TZ=America/New_York");

    // The same 09:00 on the clock on both sides of each change, whatever the hours between them.
    if (berlin) {
        QTest::newRow("daily, spring forward") << "daily"
                                               << "2026-03-27T09:00:00"
                                               << "2026-03-29T07:30:00Z"
                                               << "2026-03-30T09:00:00";
        QTest::newRow("daily, before 09:00 on the change's day") << "daily"
                                                                 << "2026-03-27T09:00:00"
                                                                 << "2026-03-29T06:30:00Z"
                                                                 << "2026-03-29T09:00:00";
        QTest::newRow("daily, fall back") << "daily"
                                          << "2026-10-20T09:00:00"
                                          << "2026-10-25T07:30:00Z"
                                          << "2026-10-25T09:00:00";
        QTest::newRow("weekly, across spring forward") << "weekly"
                                                       << "2026-03-23T09:00:00"
                                                       << "2026-03-23T08:30:00Z"
                                                       << "2026-03-30T09:00:00";
        // The hour the change skips keeps its time as written; the watch catches it up at 03:00.
        QTest::newRow("daily in the skipped hour") << "daily"
                                                   << "2026-03-27T02:30:00"
                                                   << "2026-03-29T00:00:00Z"
                                                   << "2026-03-29T02:30:00";
        QTest::newRow("daily in the repeated hour, second pass") << "daily"
                                                                 << "2026-10-20T02:30:00"
                                                                 << "2026-10-25T01:45:00Z"
                                                                 << "2026-10-26T02:30:00";
    } else {
        QTest::newRow("daily, spring forward") << "daily"
                                               << "2026-03-05T09:00:00"
                                               << "2026-03-08T13:30:00Z"
                                               << "2026-03-09T09:00:00";
        QTest::newRow("daily, before 09:00 on the change's day") << "daily"
                                                                 << "2026-03-05T09:00:00"
                                                                 << "2026-03-08T12:30:00Z"
                                                                 << "2026-03-08T09:00:00";
        QTest::newRow("daily, fall back") << "daily"
                                          << "2026-10-20T09:00:00"
                                          << "2026-11-01T14:30:00Z"
                                          << "2026-11-02T09:00:00";
        QTest::newRow("weekly, across fall back") << "weekly"
                                                  << "2026-10-26T09:00:00"
                                                  << "2026-10-26T13:30:00Z"
                                                  << "2026-11-02T09:00:00";
        QTest::newRow("RRULE across spring forward") << "FREQ=DAILY;INTERVAL=2"
                                                     << "2026-03-06T18:00:00"
                                                     << "2026-03-08T23:30:00Z"
                                                     << "2026-03-10T18:00:00";
        QTest::newRow("daily in the skipped hour") << "daily"
                                                   << "2026-03-05T02:30:00"
                                                   << "2026-03-08T06:00:00Z"
                                                   << "2026-03-08T02:30:00";
    }

    // Month ends and leap years: the program's own kinds keep every month, an RFC 5545 rule skips.
    QTest::newRow("monthly 31st, to February's end") << "monthly"
                                                     << "2026-01-31T08:00:00"
                                                     << "2026-02-01T00:00:00"
                                                     << "2026-02-28T08:00:00";
    QTest::newRow("monthly 31st, back to the 31st") << "monthly"
                                                    << "2026-01-31T08:00:00"
                                                    << "2026-02-28T08:00:00"
                                                    << "2026-03-31T08:00:00";
    QTest::newRow("monthly 31st, April") << "monthly"
                                         << "2026-01-31T08:00:00"
                                         << "2026-04-01T00:00:00"
                                         << "2026-04-30T08:00:00";
    QTest::newRow("monthly 30th, leap February") << "monthly"
                                                 << "2027-12-30T08:00:00"
                                                 << "2028-02-01T00:00:00"
                                                 << "2028-02-29T08:00:00";
    QTest::newRow("RRULE monthly 31st skips") << "FREQ=MONTHLY"
                                              << "2026-01-31T08:00:00"
                                              << "2026-02-01T00:00:00"
                                              << "2026-03-31T08:00:00";
    QTest::newRow("yearly Feb 29, common year") << "yearly"
                                                << "2024-02-29T10:00:00"
                                                << "2026-01-01T00:00:00"
                                                << "2026-02-28T10:00:00";
    QTest::newRow("yearly Feb 29, leap year") << "yearly"
                                              << "2024-02-29T10:00:00"
                                              << "2027-03-01T00:00:00"
                                              << "2028-02-29T10:00:00";
    QTest::newRow("RRULE yearly Feb 29 skips") << "FREQ=YEARLY"
                                               << "2024-02-29T10:00:00"
                                               << "2025-01-01T00:00:00"
                                               << "2028-02-29T10:00:00";
    QTest::newRow("weekdays, Friday to Monday") << "weekdays"
                                                << "2026-12-07T07:00:00"
                                                << "2026-12-11T08:00:00"
                                                << "2026-12-14T07:00:00";
    QTest::newRow("weekdays begun on a Saturday") << "weekdays"
                                                  << "2026-12-12T07:00:00"
                                                  << "2026-12-12T06:59:00"
                                                  << "2026-12-14T07:00:00";
    QTest::newRow("daily, many years on") << "daily"
                                          << "2016-05-01T09:00:00"
                                          << "2026-12-11T09:00:00"
                                          << "2026-12-12T09:00:00";
    // A calendar rule years after its start keeps its own step, not one counted from the moment looked at.
    QTest::newRow("RRULE every other week, years on") << "FREQ=WEEKLY;INTERVAL=2"
                                                      << "2020-01-06T09:00:00"
                                                      << "2026-12-08T10:00:00"
                                                      << "2026-12-14T09:00:00";
    QTest::newRow("RRULE every third day, years on") << "FREQ=DAILY;INTERVAL=3"
                                                     << "2020-01-01T09:00:00"
                                                     << "2026-12-10T09:00:00"
                                                     << "2026-12-13T09:00:00";
    QTest::newRow("RRULE 31st, years on") << "FREQ=MONTHLY"
                                          << "2019-01-31T08:00:00"
                                          << "2026-03-31T08:00:00"
                                          << "2026-05-31T08:00:00";
    QTest::newRow("RRULE UNTIL, years on") << "FREQ=YEARLY;UNTIL=20300101T000000"
                                           << "2010-07-04T12:00:00"
                                           << "2029-07-05T00:00:00"
                                           << "";
    QTest::newRow("RRULE last workday of the month, years on") << "FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=-1"
                                                               << "2020-01-31T09:00:00"
                                                               << "2026-12-01T00:00:00"
                                                               << "2026-12-31T09:00:00";
    QTest::newRow("RRULE UNTIL, long ended") << "FREQ=DAILY;UNTIL=20201231T000000"
                                             << "2020-01-01T09:00:00"
                                             << "2026-12-01T00:00:00"
                                             << "";
    QTest::newRow("exactly at an occurrence, the next") << "weekly"
                                                        << "2026-12-07T09:00:00"
                                                        << "2026-12-14T09:00:00"
                                                        << "2026-12-21T09:00:00";

    // Ended series.
    QTest::newRow("COUNT, within") << "FREQ=WEEKLY;COUNT=3"
                                   << "2026-12-01T09:00:00"
                                   << "2026-12-08T10:00:00"
                                   << "2026-12-15T09:00:00";
    QTest::newRow("COUNT, ended") << "FREQ=WEEKLY;COUNT=3"
                                  << "2026-12-01T09:00:00"
                                  << "2026-12-15T09:00:00"
                                  << "";
    QTest::newRow("UNTIL, ended") << "FREQ=DAILY;UNTIL=20261203T235959"
                                  << "2026-12-01T09:00:00"
                                  << "2026-12-03T09:30:00"
                                  << "";
    QTest::newRow("RRULE BYDAY") << "FREQ=WEEKLY;BYDAY=TU,TH"
                                 << "2026-12-01T09:00:00"
                                 << "2026-12-03T09:30:00"
                                 << "2026-12-08T09:00:00";
}

void TestRepetition::nextOccurrence()
{
    QFETCH(QString, rule);
    QFETCH(QString, start);
    QFETCH(QString, now);
    QFETCH(QString, next);
    const Repetition repetition{Repetition::ruleOf(rule), wall(start), {}};
    const QDateTime moment = QDateTime::fromString(now, Qt::ISODate);
    QCOMPARE(repetition.nextAfter(WallClock::of(moment)), next.isEmpty() ? QDateTime() : wall(next));
}

void TestRepetition::writtenRules_data()
{
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("rule"); // empty: refused
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("calendarRule");
    QTest::newRow("weekly") << "Weekly"
                            << "weekly"
                            << "每周一"
                            << "FREQ=WEEKLY";
    QTest::newRow("weekdays") << "weekdays"
                              << "weekdays"
                              << "工作日"
                              << "FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR";
    QTest::newRow("monthly on the 31st") << "monthly"
                                         << "monthly"
                                         << "每月31日"
                                         << "FREQ=MONTHLY;BYMONTHDAY=31,-1;BYSETPOS=1";
    QTest::newRow("RRULE") << "RRULE:FREQ=DAILY;COUNT=5"
                           << "FREQ=DAILY;COUNT=5"
                           << "按规则重复"
                           << "FREQ=DAILY;COUNT=5";
    QTest::newRow("nonsense") << "sometimes"
                              << ""
                              << ""
                              << "";
    QTest::newRow("RRULE without a frequency") << "RRULE:COUNT=5"
                                               << ""
                                               << ""
                                               << "";
}

void TestRepetition::writtenRules()
{
    QFETCH(QString, written);
    QFETCH(QString, rule);
    QFETCH(QString, label);
    QFETCH(QString, calendarRule);
    if (rule.isEmpty()) {
        QVERIFY_THROWS_EXCEPTION(AppError, Repetition::ruleOf(written));
        return;
    }
    // A Monday, the 31st.
    const Repetition repetition{Repetition::ruleOf(written), WallClock::at(QDate(2025, 3, 31), QTime(9, 0)), {}};
    QCOMPARE(repetition.rule, rule);
    QCOMPARE(repetition.label(), label);
    QCOMPARE(repetition.calendarRule(), calendarRule);
}

void TestRepetition::rowMovesToTheNextOccurrenceAndStopsAtTheLast()
{
    TempDatabase db;
    ReminderStore store(db.path());
    ReminderRepeats repeats(store);
    Reminder reminder;
    reminder.subject = QStringLiteral("周会");
    reminder.due = WallClock::at(QDate(2026, 12, 1), QTime(9, 0));
    const QDateTime skipped = WallClock::at(QDate(2026, 12, 8), QTime(9, 0));
    reminder.rowid = repeats.add(reminder, QStringLiteral("FREQ=WEEKLY;COUNT=3"), {skipped});
    // The user's table keeps its columns; the rule is beside it.
    QCOMPARE(db.sql(QStringLiteral("SELECT 时间,日期 FROM 日程提醒;")).trimmed(),
             QStringLiteral("2026-12-01 09:00:00|2026-12-01"));
    // A row that does not repeat is not moved.
    Reminder single = reminder;
    single.day = single.due.date();
    single.rowid = store.add(single);
    const QString rows = QStringLiteral("SELECT 时间,日期 FROM 日程提醒 ORDER BY rowid;");
    repeats.advance({reminder, single}, reminder.due);
    QCOMPARE(db.sql(rows).trimmed(), QStringLiteral("2026-12-15 09:00:00|2026-12-15\n2026-12-01 09:00:00|2026-12-01"));
    // Ended (the third occurrence was the last): the row stays where it is.
    repeats.advance({reminder}, WallClock::at(QDate(2026, 12, 15), QTime(9, 0)));
    QCOMPARE(db.sql(rows).trimmed(), QStringLiteral("2026-12-15 09:00:00|2026-12-15\n2026-12-01 09:00:00|2026-12-01"));
    QCOMPARE(repeats.of(reminder.rowid)->exceptions, QList<QDateTime>{skipped});
}

void TestRepetition::aRuleGoesWithItsRow()
{
    TempDatabase db;
    // A file without AUTOINCREMENT gives a deleted row's id again: the new row must not repeat.
    db.sql(QStringLiteral("DROP TABLE 日程提醒; CREATE TABLE 日程提醒(id INTEGER PRIMARY KEY, 主题 TEXT, 内容 TEXT,"
                          " 时间 TEXT, 日期 TEXT);"));
    ReminderStore store(db.path());
    ReminderRepeats repeats(store);
    Reminder reminder;
    reminder.subject = QStringLiteral("药");
    reminder.due = WallClock::at(QDate(2026, 12, 1), QTime(8, 0));
    reminder.day = reminder.due.date();
    const qint64 id = repeats.add(reminder, QStringLiteral("daily"));
    QVERIFY(repeats.remove(id));
    QCOMPARE(store.add(reminder), id);
    QVERIFY(!repeats.of(id));
    // Deleted by another program: forgotten before a new row takes the place.
    const qint64 other = repeats.add(reminder, QStringLiteral("daily"));
    db.sql(QStringLiteral("DELETE FROM 日程提醒 WHERE id=%1;").arg(other));
    repeats.forgetOrphans();
    QCOMPARE(store.add(reminder), other);
    QVERIFY(repeats.all().isEmpty());
}

QTEST_GUILESS_MAIN(TestRepetition)
#include "tst_repetition.moc"
