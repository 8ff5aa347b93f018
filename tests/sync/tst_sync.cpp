#include "caldav/caldavclient.h"
#include "caldav/etaglisting.h"
#include "caldav/eventmultiget.h"
#include "caldav/eventwrite.h"
#include "core/clock.h"
#include "core/wallclock.h"
#include "radicaleserver.h"
#include "store/reminderrepeats.h"
#include "store/reminderstore.h"
#include "store/snoozerecord.h"
#include "sync/calendarsync.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

namespace {

const QString kUser = QStringLiteral("alice");
const QString kPassword = QStringLiteral("secret");

// One machine: a starter data.mdb of its own.
class Machine
{
public:
    Machine() { ReminderStore::create(path()); }
    QString path() const { return m_dir.filePath(QStringLiteral("data.mdb")); }

    qint64 add(const QString &subject, const QDateTime &due, const QString &content = QString())
    {
        ReminderStore store(path());
        return store.add({0, 0, subject, content.isNull() ? QStringLiteral("") : content, due, due.date()});
    }
    // A repeating reminder from its first occurrence and its rule.
    void addRepeating(const QString &subject, const QDateTime &first, const QString &rule,
                      const QString &content = QStringLiteral(""))
    {
        ReminderStore store(path());
        ReminderRepeats(store).add({0, 0, subject, content, first, first.date()}, rule);
    }
    // "subject|content|yyyy-MM-dd HH:mm" of every reminder, sorted.
    QStringList reminders() const
    {
        ReminderStore store(path());
        QStringList rows;
        store.forEachInTimeOrder({}, {}, [&rows](const Reminder &reminder) {
            rows << reminder.subject + u'|' + reminder.content + u'|'
                        + reminder.due.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
        });
        rows.sort();
        return rows;
    }
    Reminder only() const
    {
        ReminderStore store(path());
        QList<Reminder> all;
        store.forEachInTimeOrder({}, {}, [&all](const Reminder &reminder) { all << reminder; });
        return all.size() == 1 ? all.first() : Reminder();
    }
    // Runs SQL with the sqlite3 shell, as another program would.
    void sql(const QString &statements) const
    {
        QProcess shell;
        shell.start(QStringLiteral("sqlite3"), {path(), statements});
        if (!shell.waitForFinished(30000) || shell.exitCode() != 0)
            qWarning("sqlite3: %s", shell.readAllStandardError().constData());
    }

private:
    QTemporaryDir m_dir;
};

QDateTime at(const QString &text)
{
    QDateTime due = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm"));
    due.setTimeSpec(Qt::UTC); // wall-clock, as the store keeps it
    return due;
}

// "yyyy-MM-dd HH:mm" as iCalendar writes a floating time.
QByteArray compact(const QString &time)
{
    return at(time).toString(QStringLiteral("yyyyMMdd'T'HHmmss")).toLatin1();
}

// The machine's one repeating reminder, "subject|row's time|rule as calendars write it|first|exceptions"
// (sorted).
QString seriesOf(const Machine &machine)
{
    ReminderStore store(machine.path());
    const Reminder reminder = machine.only();
    const std::optional<Repetition> rule = ReminderRepeats(store).of(reminder.rowid);
    if (!rule)
        return reminder.subject + QStringLiteral("|does not repeat");
    QStringList exceptions;
    for (const QDateTime &exception : rule->exceptions)
        exceptions << exception.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    exceptions.sort();
    return QStringList{reminder.subject, reminder.due.toString(QStringLiteral("yyyy-MM-dd HH:mm")),
                       rule->calendarRule(), rule->start.toString(QStringLiteral("yyyy-MM-dd HH:mm")),
                       exceptions.join(u',')}
        .join(u'|');
}

// The outcome of one pass.
struct Pass
{
    SyncSummary summary;
    CalDavError error = CalDavError::None;
    QString message;
    int requests = 0;
};

} // namespace

class TestSync : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void changesTravelBothWays_data();
    void changesTravelBothWays();
    void bothSidesChangedKeepsACopy();
    void deletedHereChangedThereComesBack();
    void firstSyncTakesTheSameReminderOnce();
    void changesMadeWithSqliteTravel();
    void eventsOfOtherProgramsKeepTheirOwnFields();
    void unchangedSyncIsOneRequest();
    void serverStoppedMidSyncLosesAndDoublesNothing();
    void repeatingReminders_data();
    void repeatingReminders();
    void seriesOfOtherPrograms();
    void bothSidesChangedASeriesKeepsACopy();
    void seriesTheClockCannotFollowStaysOnce();
    void commandLine_data();
    void commandLine();

private:
    Pass sync(Machine &machine, const QString &password = kPassword,
              const std::function<void(CalDavClient &)> &during = {});
    // The events in the calendar.
    int eventsOnServer();
    // The ETags of the events in the calendar.
    QStringList etagsOnServer();
    // The text of the calendar's one event, unfolded, its lines ended by line feeds.
    QByteArray onlyEventOnServer();
    // Stores an event as another program would, under `name`.ics.
    void putOnServer(const QString &name, const QByteArray &event);
    QByteArray onServer(const QString &name);

    std::unique_ptr<RadicaleServer> m_server;
    QUrl m_calendar;
    SystemClock m_clock;
};

void TestSync::initTestCase()
{
    // carol has no calendar.
    m_server =
        std::make_unique<RadicaleServer>(QStringList{kUser + u':' + kPassword, QStringLiteral("carol:") + kPassword});
    QVERIFY(m_server->start());
}

// A calendar of its own for each test.
void TestSync::init()
{
    m_calendar = m_server->makeCalendar(kUser);
    QVERIFY(m_calendar.isValid());
}

Pass TestSync::sync(Machine &machine, const QString &password, const std::function<void(CalDavClient &)> &during)
{
    CalDavClient client;
    client.setCredentials(kUser, password);
    if (during)
        during(client);
    ReminderStore store(machine.path());
    CalendarSync sync(store, client, m_calendar, m_clock);
    QSignalSpy finished(&sync, &CalendarSync::finished);
    sync.start();
    if (!finished.wait(60000))
        qWarning("the sync did not finish in 60 s");
    if (!sync.errorMessage().isEmpty())
        qInfo("the sync failed: %s", qPrintable(sync.errorMessage()));
    return {sync.summary(), sync.error(), sync.errorMessage(), client.requestCount()};
}

int TestSync::eventsOnServer()
{
    CalDavClient client;
    client.setCredentials(kUser, kPassword);
    std::unique_ptr<EtagListing> listing(client.listEtags(m_calendar));
    QSignalSpy finished(listing.get(), &CalDavJob::finished);
    if (!finished.wait(20000) || listing->error() != CalDavError::None)
        return -1;
    return int(listing->events().size());
}

QStringList TestSync::etagsOnServer()
{
    CalDavClient client;
    client.setCredentials(kUser, kPassword);
    std::unique_ptr<EtagListing> listing(client.listEtags(m_calendar));
    QSignalSpy finished(listing.get(), &CalDavJob::finished);
    QStringList etags;
    if (finished.wait(20000)) {
        for (const EventVersion &version : listing->events())
            etags << version.etag;
    }
    return etags;
}

QByteArray TestSync::onlyEventOnServer()
{
    CalDavClient client;
    client.setCredentials(kUser, kPassword);
    std::unique_ptr<EtagListing> listing(client.listEtags(m_calendar));
    QSignalSpy listed(listing.get(), &CalDavJob::finished);
    if (!listed.wait(20000) || listing->events().size() != 1)
        return {};
    std::unique_ptr<EventMultiget> get(client.multiget(m_calendar, {listing->events().first().href}));
    QSignalSpy finished(get.get(), &CalDavJob::finished);
    if (!finished.wait(20000) || get->events().size() != 1)
        return {};
    // The multistatus's XML gives line breaks as line feeds.
    return QByteArray(get->events().first().ics).replace("\r", "").replace("\n ", "");
}

void TestSync::putOnServer(const QString &name, const QByteArray &event)
{
    CalDavClient client;
    client.setCredentials(kUser, kPassword);
    std::unique_ptr<EventWrite> put(client.putEvent(
        m_calendar.resolved(QUrl(name + QStringLiteral(".ics"))),
        "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Phone//EN\r\n" + event + "END:VCALENDAR\r\n", QString()));
    QSignalSpy finished(put.get(), &CalDavJob::finished);
    QVERIFY(finished.wait(20000));
    QCOMPARE(put->error(), CalDavError::None);
}

QByteArray TestSync::onServer(const QString &name)
{
    CalDavClient client;
    client.setCredentials(kUser, kPassword);
    std::unique_ptr<EventMultiget> get(
        client.multiget(m_calendar, {m_calendar.resolved(QUrl(name + QStringLiteral(".ics"))).path()}));
    QSignalSpy finished(get.get(), &CalDavJob::finished);
    if (!finished.wait(20000) || get->events().size() != 1)
        return {};
    // Unfolded, so that a long line reads as one.
    return QByteArray(get->events().first().ics).replace("\r\n ", "");
}

void TestSync::changesTravelBothWays_data()
{
    QTest::addColumn<bool>("firstActs");
    QTest::newRow("from the first machine") << true;
    QTest::newRow("from the second machine") << false;
}

void TestSync::changesTravelBothWays()
{
    QFETCH(bool, firstActs);
    Machine first;
    Machine second;
    Machine &actor = firstActs ? first : second;
    Machine &other = firstActs ? second : first;
    QVERIFY(sync(other).message.isEmpty());

    // A line break in the content is the program's carriage return, which iCalendar cannot carry as it is.
    const qint64 id =
        actor.add(QStringLiteral("看牙医"), at(QStringLiteral("2027-01-15 09:30")), QStringLiteral("带上\r医保卡"));
    QCOMPARE(sync(actor).summary.uploaded, 1);
    QCOMPARE(sync(other).summary.added, 1);
    QCOMPARE(other.reminders(), QStringList{QStringLiteral("看牙医|带上\n医保卡|2027-01-15 09:30")});
    // Back on the first machine, the line feed is no change.
    QCOMPARE(sync(actor).summary.uploaded, 0);

    ReminderStore(actor.path())
        .update({id, 0, QStringLiteral("看牙医，改期"), QStringLiteral(""), at(QStringLiteral("2027-01-16 14:00")),
                 QDate(2027, 1, 16)});
    QCOMPARE(sync(actor).summary.uploaded, 1);
    QCOMPARE(sync(other).summary.changed, 1);
    QCOMPARE(other.reminders(), QStringList{QStringLiteral("看牙医，改期||2027-01-16 14:00")});
    QCOMPARE(other.only().day, QDate(2027, 1, 16));

    ReminderStore(actor.path()).remove(id);
    QCOMPARE(sync(actor).summary.deleted, 1);
    QCOMPARE(sync(other).summary.removed, 1);
    QVERIFY(other.reminders().isEmpty());
    QCOMPARE(eventsOnServer(), 0);
}

void TestSync::bothSidesChangedKeepsACopy()
{
    Machine first;
    Machine second;
    const qint64 id = first.add(QStringLiteral("开会"), at(QStringLiteral("2027-02-01 10:00")));
    sync(first);
    sync(second);
    ReminderStore(first.path())
        .update({id, 0, QStringLiteral("开会（甲）"), QStringLiteral(""), at(QStringLiteral("2027-02-01 10:00")),
                 QDate(2027, 2, 1)});
    const qint64 theirs = second.only().id;
    ReminderStore(second.path())
        .update({theirs, 0, QStringLiteral("开会（乙）"), QStringLiteral(""), at(QStringLiteral("2027-02-01 11:00")),
                 QDate(2027, 2, 1)});

    QCOMPARE(sync(first).summary.uploaded, 1);
    const Pass second1 = sync(second);
    QCOMPARE(second1.summary.conflicts, 1);
    QCOMPARE(second1.summary.uploaded, 1); // the copy
    const QStringList both{QStringLiteral("开会（乙）（冲突）||2027-02-01 11:00"),
                           QStringLiteral("开会（甲）||2027-02-01 10:00")};
    QCOMPARE(second.reminders(), both);
    sync(first);
    QCOMPARE(first.reminders(), both);
    QCOMPARE(eventsOnServer(), 2);
}

void TestSync::deletedHereChangedThereComesBack()
{
    Machine first;
    Machine second;
    const qint64 id = first.add(QStringLiteral("交房租"), at(QStringLiteral("2027-03-01 08:00")));
    sync(first);
    sync(second);
    ReminderStore(first.path())
        .update({id, 0, QStringLiteral("交房租和水费"), QStringLiteral(""), at(QStringLiteral("2027-03-01 08:00")),
                 QDate(2027, 3, 1)});
    sync(first);
    ReminderStore(second.path()).remove(second.only().id);

    const Pass back = sync(second);
    QCOMPARE(back.summary.added, 1);
    QCOMPARE(back.summary.deleted, 0);
    QCOMPARE(second.reminders(), QStringList{QStringLiteral("交房租和水费||2027-03-01 08:00")});
    sync(first);
    QCOMPARE(first.reminders(), second.reminders());
    QCOMPARE(eventsOnServer(), 1);
}

void TestSync::firstSyncTakesTheSameReminderOnce()
{
    Machine first;
    Machine second;
    for (Machine *machine : {&first, &second})
        machine->add(QStringLiteral("同一个"), at(QStringLiteral("2027-03-05 08:00")));
    second.add(QStringLiteral("只在乙"), at(QStringLiteral("2027-03-05 09:00")));
    sync(first);
    const Pass linked = sync(second);
    QCOMPARE(linked.summary.added, 0);
    QCOMPARE(linked.summary.uploaded, 1);
    sync(first);
    QCOMPARE(first.reminders().size(), 2);
    QCOMPARE(second.reminders(), first.reminders());
    QCOMPARE(eventsOnServer(), 2);
}

void TestSync::changesMadeWithSqliteTravel()
{
    Machine first;
    Machine second;
    first.add(QStringLiteral("浇花"), at(QStringLiteral("2027-04-01 07:00")));
    sync(first);
    sync(second);

    first.sql(QStringLiteral("UPDATE 日程提醒 SET 主题='浇花和施肥', 时间='2027-04-02 07:30:00', 日期='2027-04-02';"
                             "INSERT INTO 日程提醒(主题,内容,时间,日期) VALUES('取快递','','2027-04-03 18:00:00',"
                             "'2027-04-03');"));
    const Pass pushed = sync(first);
    QCOMPARE(pushed.summary.uploaded, 2);
    sync(second);
    QCOMPARE(second.reminders(),
             (QStringList{QStringLiteral("取快递||2027-04-03 18:00"), QStringLiteral("浇花和施肥||2027-04-02 07:30")}));

    second.sql(QStringLiteral("DELETE FROM 日程提醒 WHERE 主题='取快递'"));
    QCOMPARE(sync(second).summary.deleted, 1);
    QCOMPARE(sync(first).summary.removed, 1);
    QCOMPARE(first.reminders(), QStringList{QStringLiteral("浇花和施肥||2027-04-02 07:30")});
}

void TestSync::eventsOfOtherProgramsKeepTheirOwnFields()
{
    putOnServer(QStringLiteral("dinner"), "BEGIN:VEVENT\r\nUID:dinner@phone\r\nDTSTAMP:20261201T000000Z\r\n"
                                          "DTSTART:20270810T180000Z\r\nDTEND:20270810T200000Z\r\nSUMMARY:晚饭\r\n"
                                          "LOCATION:老地方\r\nBEGIN:VALARM\r\nACTION:DISPLAY\r\nDESCRIPTION:晚饭\r\n"
                                          "TRIGGER:-PT15M\r\nEND:VALARM\r\nEND:VEVENT\r\n");
    // Without an alarm: at its start.
    putOnServer(QStringLiteral("gym"), "BEGIN:VEVENT\r\nUID:gym@phone\r\nDTSTAMP:20261201T000000Z\r\n"
                                       "DTSTART:20270811T070000\r\nSUMMARY:健身\r\nEND:VEVENT\r\n");
    // A series with an added date: the desk's clock cannot follow it, so it stays on the server alone.
    putOnServer(QStringLiteral("weekly"), "BEGIN:VEVENT\r\nUID:weekly@phone\r\nDTSTAMP:20261201T000000Z\r\n"
                                          "DTSTART:20270101T090000\r\nRRULE:FREQ=WEEKLY\r\n"
                                          "RDATE:20270103T090000\r\nSUMMARY:周会\r\n"
                                          "END:VEVENT\r\n");
    Machine first;
    const Pass pulled = sync(first);
    QCOMPARE(pulled.summary.added, 2);
    QCOMPARE(pulled.summary.skipped, 1);
    const QDateTime dinner = WallClock::of(QDateTime(QDate(2027, 8, 10), QTime(17, 45), Qt::UTC));
    QCOMPARE(first.reminders(),
             (QStringList{QStringLiteral("健身||2027-08-11 07:00"),
                          QStringLiteral("晚饭||") + dinner.toString(QStringLiteral("yyyy-MM-dd HH:mm"))}));

    // Renamed and an hour later here: the event moves by the hour and keeps its place and its alarm.
    first.sql(QStringLiteral("UPDATE 日程提醒 SET 主题='晚饭推迟', 时间=datetime(时间,'+1 hour') WHERE 主题='晚饭'"));
    QCOMPARE(sync(first).summary.uploaded, 1);
    const QByteArray event = onServer(QStringLiteral("dinner"));
    for (const QByteArray &line :
         {QByteArray("UID:dinner@phone"), QByteArray("DTSTART:20270810T190000Z"), QByteArray("DTEND:20270810T210000Z"),
          QByteArray("LOCATION:老地方"), QByteArray("TRIGGER:-PT15M"), QByteArray("SUMMARY:晚饭推迟")})
        QVERIFY2(event.contains(line), event.constData());
    QVERIFY(onServer(QStringLiteral("weekly")).contains("RDATE:20270103T090000"));

    Machine second;
    sync(second);
    QCOMPARE(second.reminders(), first.reminders());
    QCOMPARE(eventsOnServer(), 3);
}

void TestSync::unchangedSyncIsOneRequest()
{
    Machine first;
    Machine second;
    for (int i = 0; i < 3; ++i)
        first.add(QStringLiteral("提醒 %1").arg(i), at(QStringLiteral("2027-05-0%1 09:00").arg(i + 1)));
    sync(first);
    sync(second);
    for (Machine *machine : {&first, &second}) {
        const Pass idle = sync(*machine);
        QVERIFY(idle.message.isEmpty());
        QCOMPARE(idle.requests, 1);
        QCOMPARE(idle.summary.added + idle.summary.changed + idle.summary.removed + idle.summary.uploaded, 0);
    }
    // One change costs a few requests, not the calendar.
    first.sql(QStringLiteral("UPDATE 日程提醒 SET 内容='带伞' WHERE 主题='提醒 1'"));
    QCOMPARE(sync(first).requests, 2);
    QCOMPARE(sync(second).requests, 2);
}

void TestSync::serverStoppedMidSyncLosesAndDoublesNothing()
{
    Machine first;
    Machine second;
    constexpr int kFirst = 30;
    constexpr int kSecond = 5;
    for (int i = 0; i < kSecond; ++i)
        second.add(QStringLiteral("乙 %1").arg(i), at(QStringLiteral("2027-06-01 09:%1").arg(i, 2, 10, QChar(u'0'))));
    QVERIFY(sync(second).message.isEmpty());
    for (int i = 0; i < kFirst; ++i)
        first.add(QStringLiteral("甲 %1").arg(i), at(QStringLiteral("2027-06-02 10:%1").arg(i, 2, 10, QChar(u'0'))));

    // The server freezes in the middle of the pushes, and the pass gives up.
    QTimer watch;
    const Pass cut = sync(first, kPassword, [&](CalDavClient &client) {
        client.setTimeout(std::chrono::seconds(1));
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (client.requestCount() >= 8) {
                watch.stop();
                m_server->pause();
            }
        });
        watch.start(1);
    });
    m_server->resume();
    QCOMPARE(cut.error, CalDavError::Timeout);

    QVERIFY(sync(first).message.isEmpty());
    QVERIFY(sync(second).message.isEmpty());
    QVERIFY(sync(first).message.isEmpty());
    QCOMPARE(first.reminders().size(), kFirst + kSecond);
    QCOMPARE(second.reminders(), first.reminders());
    QCOMPARE(eventsOnServer(), kFirst + kSecond);
}

void TestSync::repeatingReminders_data()
{
    QTest::addColumn<QString>("repeat"); // as orvane-db add --repeat takes it
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("next"); // the second occurrence
    QTest::addColumn<QByteArray>("rrule");
    QTest::newRow("daily") << "daily"
                           << "2027-01-04 09:00"
                           << "2027-01-05 09:00" << QByteArray("RRULE:FREQ=DAILY");
    QTest::newRow("weekdays") << "weekdays"
                              << "2027-01-08 09:00"
                              << "2027-01-11 09:00" << QByteArray("RRULE:FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR");
    QTest::newRow("weekly") << "weekly"
                            << "2027-01-04 09:00"
                            << "2027-01-11 09:00" << QByteArray("RRULE:FREQ=WEEKLY");
    QTest::newRow("monthly on the 31st") << "monthly"
                                         << "2027-01-31 20:00"
                                         << "2027-02-28 20:00"
                                         << QByteArray("RRULE:FREQ=MONTHLY;BYMONTHDAY=31,-1;BYSETPOS=1");
    QTest::newRow("yearly on February 29")
        << "yearly"
        << "2028-02-29 08:00"
        << "2029-02-28 08:00" << QByteArray("RRULE:FREQ=YEARLY;BYMONTHDAY=29,-1;BYMONTH=2;BYSETPOS=1");
    QTest::newRow("a calendar rule with COUNT")
        << "RRULE:FREQ=DAILY;INTERVAL=3;COUNT=5"
        << "2027-01-04 09:00"
        << "2027-01-07 09:00" << QByteArray("RRULE:FREQ=DAILY;COUNT=5;INTERVAL=3");
}

void TestSync::repeatingReminders()
{
    QFETCH(QString, repeat);
    QFETCH(QString, start);
    QFETCH(QString, next);
    QFETCH(QByteArray, rrule);
    Machine first;
    Machine second;
    first.addRepeating(QStringLiteral("吃药"), at(start), Repetition::ruleOf(repeat), QStringLiteral("饭后"));
    QCOMPARE(sync(first).summary.uploaded, 1);
    const QStringList uploaded = etagsOnServer();
    QCOMPARE(uploaded.size(), 1);
    // The event starts where the series does, with its rule.
    const QByteArray event = onlyEventOnServer();
    for (const QByteArray &line : {"DTSTART:" + compact(start), rrule, QByteArray("SUMMARY:吃药")})
        QVERIFY2(event.contains('\n' + line + '\n'), event.constData());
    QCOMPARE(sync(second).summary.added, 1);
    const QString rule = QString::fromLatin1(rrule.mid(6));
    QCOMPARE(seriesOf(second), QStringList({"吃药", start, rule, start, ""}).join(u'|'));

    // The occurrence alerts and its row moves on, and it is put off: neither is a change of the series.
    {
        ReminderStore store(first.path());
        const Reminder due = first.only();
        SnoozeRecord(store).snooze(due, due.due.addSecs(600));
        ReminderRepeats(store).advance({due}, due.due);
    }
    QCOMPARE(first.only().due, at(next));
    const Pass moved = sync(first);
    QCOMPARE(moved.summary.uploaded, 0);
    QCOMPARE(moved.requests, 1);
    QCOMPARE(etagsOnServer(), uploaded);

    // The other machine makes it every other week.
    {
        ReminderStore store(second.path());
        QVERIFY(
            ReminderRepeats(store).update(second.only(), Repetition::ruleOf(QStringLiteral("FREQ=WEEKLY;INTERVAL=2"))));
    }
    QCOMPARE(sync(second).summary.uploaded, 1);
    QCOMPARE(sync(first).summary.changed, 1);
    const QString everyOther = QStringList({"吃药", start, "FREQ=WEEKLY;INTERVAL=2", start, ""}).join(u'|');
    QCOMPARE(seriesOf(first), everyOther);
    QCOMPARE(seriesOf(second), everyOther);

    // 只删除这一次 here: an EXDATE there.
    {
        ReminderStore store(first.path());
        QVERIFY(ReminderRepeats(store).skipOccurrence(first.only()));
    }
    QCOMPARE(sync(first).summary.uploaded, 1);
    const QByteArray skipped = onlyEventOnServer();
    QVERIFY2(skipped.contains("\nEXDATE:" + compact(start) + '\n'), skipped.constData());
    QCOMPARE(sync(second).summary.changed, 1);
    QCOMPARE(seriesOf(second), seriesOf(first));
    QVERIFY(seriesOf(second).endsWith(u'|' + start));

    // The series deleted there is gone here, rule and all.
    {
        ReminderStore store(second.path());
        QVERIFY(ReminderRepeats(store).remove(second.only().id));
    }
    QCOMPARE(sync(second).summary.deleted, 1);
    QCOMPARE(sync(first).summary.removed, 1);
    QVERIFY(first.reminders().isEmpty());
    ReminderStore store(first.path());
    QVERIFY(ReminderRepeats(store).all().isEmpty());
    QCOMPARE(eventsOnServer(), 0);
}

// A phone's series: its alarm before it, an EXDATE, one occurrence moved and a field of its own.
void TestSync::seriesOfOtherPrograms()
{
    putOnServer(QStringLiteral("standup"),
                "BEGIN:VEVENT\r\nUID:standup@phone\r\nDTSTAMP:20261201T000000Z\r\nDTSTART:20270104T093000\r\n"
                "DTEND:20270104T094500\r\nRRULE:FREQ=WEEKLY;BYDAY=MO,WE;UNTIL=20270331T235959\r\n"
                "EXDATE:20270106T093000\r\nLOCATION:三楼\r\nSUMMARY:站会\r\nBEGIN:VALARM\r\nACTION:DISPLAY\r\n"
                "DESCRIPTION:站会\r\nTRIGGER:-PT10M\r\nEND:VALARM\r\nEND:VEVENT\r\n"
                "BEGIN:VEVENT\r\nUID:standup@phone\r\nDTSTAMP:20261201T000000Z\r\nRECURRENCE-ID:20270111T093000\r\n"
                "DTSTART:20270111T110000\r\nDTEND:20270111T111500\r\nSUMMARY:站会\r\nEND:VEVENT\r\n");
    Machine first;
    QCOMPARE(sync(first).summary.added, 1);
    QCOMPARE(seriesOf(first), QStringLiteral("站会|2027-01-04 09:20|FREQ=WEEKLY;UNTIL=20270331T234959;BYDAY=MO,WE|"
                                             "2027-01-04 09:20|2027-01-06 09:20,2027-01-11 09:20"));

    // Renamed and its first occurrence skipped here: the rest of the event stays as the phone wrote it.
    first.sql(QStringLiteral("UPDATE 日程提醒 SET 主题='站会（线上）'"));
    {
        ReminderStore store(first.path());
        QVERIFY(ReminderRepeats(store).skipOccurrence(first.only()));
    }
    QCOMPARE(sync(first).summary.uploaded, 1);
    const QByteArray event = onlyEventOnServer();
    for (const QByteArray &line :
         {QByteArray("DTSTART:20270104T093000"), QByteArray("RRULE:FREQ=WEEKLY;UNTIL=20270331T235959;BYDAY=MO,WE"),
          QByteArray("EXDATE:20270106T093000"), QByteArray("EXDATE:20270104T093000"),
          QByteArray("RECURRENCE-ID:20270111T093000"), QByteArray("LOCATION:三楼"), QByteArray("TRIGGER:-PT10M"),
          QByteArray("SUMMARY:站会（线上）"), QByteArray("DESCRIPTION:站会（线上）")})
        QVERIFY2(event.contains('\n' + line + '\n'), event.constData());

    Machine second;
    QCOMPARE(sync(second).summary.added, 1);
    QCOMPARE(seriesOf(second), seriesOf(first));
    QVERIFY(seriesOf(second).startsWith(QStringLiteral("站会（线上）|2027-01-13 09:20|")));
}

void TestSync::bothSidesChangedASeriesKeepsACopy()
{
    Machine first;
    Machine second;
    first.addRepeating(QStringLiteral("晨跑"), at(QStringLiteral("2027-02-01 07:00")), QStringLiteral("daily"));
    sync(first);
    sync(second);
    first.sql(QStringLiteral("UPDATE 日程提醒 SET 主题='晨跑五公里'"));
    {
        ReminderStore store(second.path());
        QVERIFY(ReminderRepeats(store).update(second.only(), QStringLiteral("weekdays")));
    }

    QCOMPARE(sync(first).summary.uploaded, 1);
    const Pass kept = sync(second);
    QCOMPARE(kept.summary.conflicts, 1);
    QCOMPARE(kept.summary.uploaded, 1); // the copy
    sync(first);
    for (Machine *machine : {&first, &second}) {
        ReminderStore store(machine->path());
        QStringList series;
        const QHash<qint64, Repetition> rules = ReminderRepeats(store).all();
        store.forEachInTimeOrder({}, {}, [&](const Reminder &reminder) {
            series << reminder.subject + u'|' + rules.value(reminder.rowid).calendarRule();
        });
        series.sort();
        QCOMPARE(series, (QStringList{QStringLiteral("晨跑五公里|FREQ=DAILY"),
                                      QStringLiteral("晨跑（冲突）|FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR")}));
    }
    QCOMPARE(eventsOnServer(), 2);
}

// A phone gives a synced series a date of its own, which this program cannot keep as a rule: the event stays
// on the server as the phone wrote it, once, and the reminder here stays as it was.
void TestSync::seriesTheClockCannotFollowStaysOnce()
{
    Machine first;
    first.addRepeating(QStringLiteral("读书会"), at(QStringLiteral("2027-03-01 19:00")), QStringLiteral("weekly"));
    sync(first);
    const QByteArray event = onlyEventOnServer();
    QByteArray changed = event;
    changed.replace("RRULE:FREQ=WEEKLY\n", "RRULE:FREQ=WEEKLY\nRDATE:20270303T190000\n").replace("\n", "\r\n");
    {
        CalDavClient client;
        client.setCredentials(kUser, kPassword);
        std::unique_ptr<EtagListing> listing(client.listEtags(m_calendar));
        QSignalSpy listed(listing.get(), &CalDavJob::finished);
        QVERIFY(listed.wait(20000));
        const EventVersion version = listing->events().value(0);
        std::unique_ptr<EventWrite> put(
            client.putEvent(m_calendar.resolved(QUrl(version.href)), changed, version.etag));
        QSignalSpy stored(put.get(), &CalDavJob::finished);
        QVERIFY(stored.wait(20000));
        QCOMPARE(put->error(), CalDavError::None);
    }

    for (int pass = 0; pass < 2; ++pass) {
        const Pass kept = sync(first);
        QCOMPARE(kept.summary.uploaded + kept.summary.removed + kept.summary.changed, 0);
    }
    QCOMPARE(seriesOf(first), QStringLiteral("读书会|2027-03-01 19:00|FREQ=WEEKLY|2027-03-01 19:00|"));
    QCOMPARE(eventsOnServer(), 1);
    QVERIFY(onlyEventOnServer().contains("RDATE:20270303T190000"));
    Machine second;
    QCOMPARE(sync(second).summary.skipped, 1);
    QVERIFY(second.reminders().isEmpty());
}

void TestSync::commandLine_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("said");
    QTest::newRow("synced") << QString() << kUser << kPassword << 0 << QStringLiteral("here 0 added");
    QTest::newRow("wrong password") << QString() << kUser << QStringLiteral("wrong") << 4
                                    << QStringLiteral("用户名或密码不对");
    QTest::newRow("not a calendar") << QStringLiteral("/") << QStringLiteral("carol") << kPassword << 4
                                    << QStringLiteral("不是 CalDAV 日历");
    QTest::newRow("no server") << QStringLiteral("http://127.0.0.1:1/") << kUser << kPassword << 3
                               << QStringLiteral("无法连接服务器");
    QTest::newRow("plain http to another machine")
        << QStringLiteral("http://192.0.2.1/cal/") << kUser << kPassword << 4 << QStringLiteral("不加密");
}

void TestSync::commandLine()
{
    QFETCH(QString, address);
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(int, status);
    QFETCH(QString, said);
    Machine machine;
    machine.add(QStringLiteral("留着"), at(QStringLiteral("2027-07-01 09:00")));
    const QString url = address.isEmpty() ? m_calendar.toString() : m_server->root().resolved(QUrl(address)).toString();

    QProcess tool;
    tool.start(QStringLiteral(ORVANE_DB),
               {QStringLiteral("--file"), machine.path(), QStringLiteral("sync"), QStringLiteral("--url"), url,
                QStringLiteral("--user"), user, QStringLiteral("--password-stdin")});
    tool.write(password.toUtf8() + '\n');
    tool.closeWriteChannel();
    QVERIFY(tool.waitForFinished(60000));
    const QString output = QString::fromUtf8(tool.readAllStandardOutput() + tool.readAllStandardError());
    QVERIFY2(output.contains(said), qPrintable(output));
    QCOMPARE(tool.exitCode(), status);
    QVERIFY(!output.contains(password));
    QCOMPARE(machine.reminders().size(), 1);
    QCOMPARE(eventsOnServer(), status == 0 ? 1 : 0);
}

QTEST_GUILESS_MAIN(TestSync)
#include "tst_sync.moc"
