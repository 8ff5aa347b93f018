#include "core/apperror.h"
#include "store/connection.h"
#include "store/reminderlistmodel.h"
#include "store/reminderstore.h"
#include "store/statement.h"
#include "store/textformats.h"
#include "tests/support/tempdatabase.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <functional>
#include <grp.h>
#include <pwd.h>
#include <sqlite3.h>
#include <thread>
#include <unistd.h>

namespace {

const QDate kDay(2009, 3, 3);
const QDateTime kDue(kDay, QTime(9, 30), Qt::UTC);

Reminder reminderOf(const QString &subject, const QString &content, const QDateTime &due = kDue)
{
    Reminder reminder;
    reminder.subject = subject;
    reminder.content = content;
    reminder.due = due;
    reminder.day = due.date();
    return reminder;
}

QByteArray digest(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

QString errorOf(const std::function<void()> &step)
{
    try {
        step();
    } catch (const AppError &error) {
        return error.message();
    }
    return {};
}

// Equal, and a null text only where a null one is expected (QCOMPARE takes them for the same).
bool sameText(const QString &actual, const QString &expected)
{
    return actual == expected && actual.isNull() == expected.isNull();
}

// Every statement run on the store's connection, as written and with its bound values filled in.
class StatementLog
{
public:
    explicit StatementLog(ReminderStore &store)
    {
        store.open();
        m_handle = store.connection().handle();
        sqlite3_trace_v2(m_handle, SQLITE_TRACE_STMT, &StatementLog::record, this);
    }
    ~StatementLog() { sqlite3_trace_v2(m_handle, 0, nullptr, nullptr); }

    QStringList written;
    QStringList expanded;

private:
    static int record(unsigned, void *log, void *statement, void *text)
    {
        auto *self = static_cast<StatementLog *>(log);
        self->written << QString::fromUtf8(static_cast<const char *>(text));
        char *filled = sqlite3_expanded_sql(static_cast<sqlite3_stmt *>(statement));
        self->expanded << QString::fromUtf8(filled);
        sqlite3_free(filled);
        return 0;
    }

    sqlite3 *m_handle = nullptr;
};

// How the engine runs `sql` with `values` bound in order: its steps joined by "|".
QString queryPlan(ReminderStore &store, const QString &sql, const QStringList &values)
{
    Statement plan(store.connection(), QByteArrayLiteral("EXPLAIN QUERY PLAN ") + sql.toUtf8());
    for (int i = 0; i < values.size(); ++i)
        plan.bind(i + 1, values.at(i));
    QStringList steps;
    while (plan.next())
        steps << plan.text(3);
    return steps.join(u'|');
}

// Holds the file's exclusive lock, as another program writing to it does.
class ExclusiveLock
{
public:
    explicit ExclusiveLock(const QString &path)
    {
        sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_exec(m_db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
    }
    ~ExclusiveLock()
    {
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(m_db);
    }

private:
    sqlite3 *m_db = nullptr;
};

// `count` rows whose subjects are r1, r2, ... in id order.
void fillRows(const TempDatabase &db, int count)
{
    db.sql(QStringLiteral("with recursive n(i) as (select 1 union all select i+1 from n where i<%1) "
                          "insert into 日程提醒(主题,内容,时间,日期) "
                          "select 'r'||i,'',printf('2009-03-03 %02d:%02d:00',i/60%24,i%60),'2009-03-03' from n")
               .arg(count));
}

// A copy of `file` in `dir` that every user may read and run.
bool stageForAll(const QString &file, const QDir &dir)
{
    const QString copy = dir.filePath(QFileInfo(file).fileName());
    return QFile::copy(file, copy)
           && QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                                              | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
}

// Runs the current test case again in a child process of the unprivileged user "nobody": to root every file
// is writable. The child runs copies of this test, of orvane-db, of the program's shared interfaces library
// and of the leak suppressions in a folder
// that every user may enter: this checkout's own folders may be closed to others.
void rerunAsUnprivilegedUser()
{
    const passwd *nobody = getpwnam("nobody");
    QVERIFY2(nobody, "no user nobody to run the case as");
    const uid_t uid = nobody->pw_uid;
    const gid_t gid = nobody->pw_gid;
    QTemporaryDir staged(QStringLiteral("/tmp/orvane-as-nobody-XXXXXX"));
    QVERIFY(staged.isValid());
    const QDir dir(staged.path());
    QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                                                  | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther));
    QVERIFY(stageForAll(QCoreApplication::applicationFilePath(), dir));
    QVERIFY(stageForAll(QStringLiteral(ORVANE_DB), dir));
    QVERIFY(stageForAll(QStringLiteral(ORVANE_INTERFACES_LIBRARY), dir));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // The copies look for the library in the build, which that user may not reach.
    environment.insert(QStringLiteral("LD_LIBRARY_PATH"), dir.path());
    environment.insert(QStringLiteral("TMPDIR"), QStringLiteral("/tmp"));
    environment.insert(QStringLiteral("ORVANE_DB"), dir.filePath(QStringLiteral("orvane-db")));
    static const QRegularExpression suppressions(QStringLiteral("suppressions=([^:]+)"));
    QString leakOptions = environment.value(QStringLiteral("LSAN_OPTIONS"));
    const QRegularExpressionMatch named = suppressions.match(leakOptions);
    if (named.hasMatch()) {
        QVERIFY(stageForAll(named.captured(1), dir));
        leakOptions.replace(named.capturedStart(1), named.capturedLength(1),
                            dir.filePath(QFileInfo(named.captured(1)).fileName()));
        environment.insert(QStringLiteral("LSAN_OPTIONS"), leakOptions);
    }
    QProcess child;
    child.setChildProcessModifier([uid, gid] {
        if (setgroups(0, nullptr) != 0 || setgid(gid) != 0 || setuid(uid) != 0)
            _exit(126);
    });
    child.setProcessEnvironment(environment);
    child.setWorkingDirectory(dir.path());
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(dir.filePath(QFileInfo(QCoreApplication::applicationFilePath()).fileName()),
                {QStringLiteral("%1:%2").arg(QTest::currentTestFunction(), QTest::currentDataTag())});
    QVERIFY(child.waitForFinished(120000));
    QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, child.readAll().constData());
}

} // namespace

class TestStore : public QObject
{
    Q_OBJECT

private slots:
    void valuesAreBoundNotWritten();
    void textsRoundTrip_data();
    void textsRoundTrip();
    void dueAtMatchesTheMinute_data();
    void dueAtMatchesTheMinute();
    void anySpellingFallsDueInItsMinute_data();
    void anySpellingFallsDueInItsMinute();
    void starterFileRefusesOnlyWhatIsNoTime_data();
    void starterFileRefusesOnlyWhatIsNoTime();
    void rowsAreKeyedByThemselves();
    void invalidDateOrTimeIsRefused_data();
    void invalidDateOrTimeIsRefused();
    void idsAreNeverReused();
    void vanishedRowIsNoError();
    void unusableFileIsReportedAndUntouched_data();
    void unusableFileIsReportedAndUntouched();
    void readOnlyFileIsReadAndKeptAsItIs_data();
    void readOnlyFileIsReadAndKeptAsItIs();
    void missingFileIsRetriedByEveryStatement();
    void oddRowsAreRead_data();
    void oddRowsAreRead();
    void listIsPagedAndReloaded();
    void listUnderAnotherProgramsLock();
    void readWaitsForAShortLockAndNoLonger();
    void dueBetweenCatchesUpMinutes_data();
    void dueBetweenCatchesUpMinutes();
    void dataVersionTellsOtherProgramsChanges();
    void transactionIsAllOrNothing();
};

// Every value reaches the engine bound in its place, never written into a statement, and times in the one
// stored form.
void TestStore::valuesAreBoundNotWritten()
{
    TempDatabase db;
    ReminderStore store(db.path());
    StatementLog log(store);
    const QString subject = QStringLiteral("it's; --");
    store.add(reminderOf(subject, QStringLiteral("c")));
    store.update({1, 1, QStringLiteral("t"), QStringLiteral("d"),
                  QDateTime(QDate(2009, 3, 4), QTime(10, 0, 15), Qt::UTC), QDate(2009, 3, 4)});
    store.onDay(QDate(2009, 3, 4));
    store.dueAt(QDateTime(QDate(2009, 3, 4), QTime(10, 0, 42)));
    store.remove(1);

    const QStringList bound[] = {
        {"'it''s; --'", "'c'", "'2009-03-03 09:30:00'", "'2009-03-03'"},
        {"'t'", "'d'", "'2009-03-04 10:00:15'", "'2009-03-04'", "=1"},
        {"'2009-03-04'"},
        {"'2009-03-04 10:00:00'", "'2009-03-04 10:01:00'"},
        {"=1"},
    };
    QCOMPARE(log.written.size(), qsizetype(std::size(bound)));
    for (qsizetype i = 0; i < log.written.size(); ++i) {
        for (const QString &value : bound[i]) {
            QVERIFY2(log.expanded.at(i).contains(value), qPrintable(log.expanded.at(i)));
            QVERIFY2(!log.written.at(i).contains(value), qPrintable(log.written.at(i)));
        }
    }
    QCOMPARE(db.sql(QStringLiteral("select count(*) from 日程提醒")), QStringLiteral("0"));
}

void TestStore::textsRoundTrip_data()
{
    QTest::addColumn<QString>("subject");
    QTest::addColumn<QString>("content");
    QTest::newRow("quotes") << "it's \"quoted\""
                            << "'; drop table 日程提醒; --";
    QTest::newRow("commas") << "a,b,c"
                            << ",,,";
    QTest::newRow("line breaks") << "two\r\nlines"
                                 << "\r\n  body with blanks  \r\n";
    QTest::newRow("markers") << ":a :b ?"
                             << "colon:value";
    // Trimming the subject is the caller's part.
    QTest::newRow("blanks kept") << "  padded\t"
                                 << " ";
    QTest::newRow("empty") << QString(QLatin1String("")) << QString(QLatin1String(""));
    QTest::newRow("no value") << QString() << QString();
}

// What is stored reads back unchanged through every reading: the day, the minute and the list.
void TestStore::textsRoundTrip()
{
    QFETCH(QString, subject);
    QFETCH(QString, content);
    TempDatabase db;
    ReminderStore store(db.path());
    store.add(reminderOf(subject, content));

    const QList<Reminder> today = store.onDay(kDay);
    QCOMPARE(today.size(), 1);
    QVERIFY(sameText(today.at(0).subject, subject));
    QCOMPARE(today.at(0).due, kDue);

    const QList<Reminder> due = store.dueAt(kDue);
    QCOMPARE(due.size(), 1);
    QVERIFY(sameText(due.at(0).subject, subject));
    QVERIFY(sameText(due.at(0).content, content));
    QCOMPARE(due.at(0).id, qint64(1));
    QCOMPARE(due.at(0).day, kDay);

    ReminderListModel list(store);
    list.reload();
    const Reminder listed = list.reminderAt(0);
    QVERIFY(sameText(listed.subject, subject));
    QVERIFY(sameText(listed.content, content));
    QCOMPARE(listed.due, kDue);
    QCOMPARE(list.data(list.index(0, 1)).toString(), subject);
    QCOMPARE(list.data(list.index(0, 2)).toString(), content);
}

void TestStore::dueAtMatchesTheMinute_data()
{
    QTest::addColumn<QDateTime>("stored");
    QTest::addColumn<QString>("storedText");
    QTest::addColumn<QDateTime>("asked");
    QTest::addColumn<bool>("found");
    const QDateTime seconds42(kDay, QTime(9, 30, 42), Qt::UTC);
    QTest::newRow("asked within the minute") << kDue << "2009-03-03 09:30:00" << seconds42 << true;
    QTest::newRow("stored with seconds") << QDateTime(kDay, QTime(9, 30, 15), Qt::UTC) << "2009-03-03 09:30:15" << kDue
                                         << true;
    QTest::newRow("another minute") << QDateTime(kDay, QTime(9, 31), Qt::UTC) << "2009-03-03 09:31:00" << seconds42
                                    << false;
    QTest::newRow("another day") << QDateTime(kDay.addDays(1), QTime(9, 30), Qt::UTC) << "2009-03-04 09:30:00" << kDue
                                 << false;
    QTest::newRow("local time is wall-clock too")
        << QDateTime(kDay, QTime(9, 30)) << "2009-03-03 09:30:00" << QDateTime(kDay, QTime(9, 30, 42)) << true;
}

void TestStore::dueAtMatchesTheMinute()
{
    QFETCH(QDateTime, stored);
    QFETCH(QString, storedText);
    QFETCH(QDateTime, asked);
    QFETCH(bool, found);
    TempDatabase db;
    ReminderStore store(db.path());
    store.add(reminderOf(QStringLiteral("s"), QStringLiteral("c"), stored));
    QCOMPARE(db.sql(QStringLiteral("select 时间 from 日程提醒")), storedText);
    const QList<Reminder> due = store.dueAt(asked);
    QCOMPARE(due.size(), found ? 1 : 0);
    if (found)
        QCOMPARE(due.at(0).due, parseDateTimeText(storedText));
}

void TestStore::anySpellingFallsDueInItsMinute_data()
{
    QTest::addColumn<QString>("stored"); // 时间 as another program wrote it
    QTest::addColumn<QDateTime>("after");
    QTest::addColumn<QDateTime>("upTo");
    QTest::addColumn<bool>("caughtUp");  // found by dueBetween(after, upTo)
    QTest::addColumn<bool>("dueAtUpTo"); // found by dueAt(upTo)
    const QDate day(2026, 12, 10);
    const auto at = [day](int hour, int minute, int second = 0, int days = 0) {
        return QDateTime(day.addDays(days), QTime(hour, minute, second), Qt::UTC);
    };
    QTest::newRow("stored form") << "2026-12-10 09:30:00" << at(9, 29, 30) << at(9, 30, 5) << true << true;
    QTest::newRow("seconds") << "2026-12-10 10:00:15" << at(9, 59, 30) << at(10, 0) << true << true;
    QTest::newRow("seconds, not the next minute")
        << "2026-12-10 10:00:15" << at(10, 0, 30) << at(10, 1) << false << false;
    QTest::newRow("no seconds") << "2026-12-10 09:30" << at(9, 29) << at(9, 30) << true << true;
    QTest::newRow("fraction of a second") << "2026-12-10 09:30:59.999" << at(9, 29) << at(9, 30) << true << true;
    QTest::newRow("T between") << "2026-12-10T09:30:00" << at(9, 29) << at(9, 30) << true << true;
    QTest::newRow("two blanks between") << "2026-12-10  09:30" << at(9, 29) << at(9, 30) << true << true;
    QTest::newRow("blank after") << "2026-12-10 09:30 " << at(9, 29) << at(9, 30) << true << true;
    QTest::newRow("date alone at midnight") << "2026-12-10" << at(23, 59, 30, -1) << at(0, 0, 10) << true << true;
    QTest::newRow("date alone, not a minute later") << "2026-12-10" << at(0, 0) << at(0, 1) << false << false;
    QTest::newRow("T between, days caught up") << "2026-12-08T12:00" << at(9, 30, 0, -3) << at(9, 30) << true << false;
    QTest::newRow("another day") << "2026-12-11 09:30" << at(9, 29) << at(9, 30) << false << false;
    // SQLite reads no one-digit hour: such a text is not a time.
    QTest::newRow("one-digit hour") << "2026-12-10 9:30:00" << at(9, 29) << at(9, 30) << false << false;
    QTest::newRow("minute 60") << "2026-12-10 09:60" << at(9, 59) << at(10, 0) << false << false;
}

// A time that another program wrote in any spelling SQLite reads falls due in its minute, and the watch's
// catch-up finds it along the 时间 index.
void TestStore::anySpellingFallsDueInItsMinute()
{
    QFETCH(QString, stored);
    QFETCH(QDateTime, after);
    QFETCH(QDateTime, upTo);
    QFETCH(bool, caughtUp);
    QFETCH(bool, dueAtUpTo);
    TempDatabase db;
    // As a file made before, or by another program, may hold it: without a check on 时间.
    db.sql(QStringLiteral("drop table 日程提醒; create table 日程提醒(id integer primary key, 主题, 内容, 时间, 日期);"
                          "create index 日程提醒_时间 on 日程提醒(时间);"
                          "insert into 日程提醒 values(1, 's', 'c', '%1', '2026-12-10')")
               .arg(stored));
    ReminderStore store(db.path());
    StatementLog log(store);
    const QList<Reminder> found = store.dueBetween(after, upTo);
    QCOMPARE(found.size(), caughtUp ? 1 : 0);
    for (const Reminder &reminder : found) {
        QCOMPARE(reminder.subject, QStringLiteral("s"));
        QCOMPARE(reminder.rowid, qint64(1));
        QVERIFY(reminder.due.isValid());
    }
    QCOMPARE(store.dueAt(upTo).size(), dueAtUpTo ? 1 : 0);

    const QString plan =
        queryPlan(store, log.written.at(0), {canonicalDateTimeText(after), canonicalDateTimeText(upTo)});
    QVERIFY2(plan.contains(QStringLiteral("USING INDEX 日程提醒_时间")) && !plan.contains(QStringLiteral("SCAN")),
             qPrintable(plan));
}

void TestStore::starterFileRefusesOnlyWhatIsNoTime_data()
{
    QTest::addColumn<QString>("value"); // an SQL expression
    QTest::addColumn<bool>("kept");
    QTest::newRow("stored form") << "'2026-12-10 09:30:00'" << true;
    QTest::newRow("seconds") << "'2026-12-10 10:00:15'" << true;
    QTest::newRow("no seconds") << "'2026-12-10 09:30'" << true;
    QTest::newRow("T between") << "'2026-12-10T09:30'" << true;
    QTest::newRow("date alone") << "'2026-12-10'" << true;
    QTest::newRow("no value") << "null" << true;
    QTest::newRow("one-digit hour") << "'2026-12-10 9:30:00'" << false;
    QTest::newRow("words") << "'tomorrow'" << false;
    QTest::newRow("empty") << "''" << false;
    QTest::newRow("the moment it is read") << "'now'" << false;
}

void TestStore::starterFileRefusesOnlyWhatIsNoTime()
{
    QFETCH(QString, value);
    QFETCH(bool, kept);
    TempDatabase db;
    sqlite3 *other = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(db.path()).constData(), &other), SQLITE_OK);
    const auto close = qScopeGuard([other] { sqlite3_close(other); });
    const QByteArray insert =
        QStringLiteral("insert into 日程提醒(主题,内容,时间,日期) values('s','c',%1,'2026-12-10')").arg(value).toUtf8();
    QCOMPARE(sqlite3_exec(other, insert.constData(), nullptr, nullptr, nullptr) == SQLITE_OK, kept);
    QCOMPARE(db.sql(QStringLiteral("select count(*) from 日程提醒")), kept ? QStringLiteral("1") : QStringLiteral("0"));
}

// Rows whose id is missing or no integer key (a file made by another program) are told apart by the row
// itself: each falls due, and the manager's list tells which can be found by their id.
void TestStore::rowsAreKeyedByThemselves()
{
    TempDatabase db;
    db.sql(QStringLiteral("drop table 日程提醒; create table 日程提醒(id, 主题, 内容, 时间, 日期);"
                          "insert into 日程提醒 values(null, 'a', '', '2009-03-03 09:30:00', '2009-03-03'),"
                          "(null, 'b', '', '2009-03-03 09:30:00', '2009-03-03'), ('x', 'c', '', '2009-03-03 09:30:00',"
                          "'2009-03-03'), (7.5, 'd', '', '2009-03-03 09:30:00', '2009-03-03'),"
                          "(' 7', 'e', '', '2009-03-03 09:30:00', '2009-03-03'),"
                          "(7, 'f', '', '2009-03-03 09:30:00', '2009-03-03')"));
    ReminderStore store(db.path());
    QStringList subjects;
    QList<qint64> rows;
    for (const Reminder &reminder : store.dueAt(kDue)) {
        subjects << reminder.subject;
        rows << reminder.rowid;
    }
    QCOMPARE(subjects, QStringList({"a", "b", "c", "d", "e", "f"}));
    QCOMPARE(rows, QList<qint64>({1, 2, 3, 4, 5, 6}));
    QCOMPARE(store.dueBetween(kDue.addSecs(-60), kDue).size(), 6);

    ReminderListModel list(store);
    list.reload();
    QCOMPARE(list.columnCount(), 5);
    QCOMPARE(list.headerData(0, Qt::Horizontal).toString(), QStringLiteral("id"));
    QList<bool> usable;
    for (int row = 0; row < list.rowCount(); ++row) {
        usable << list.hasUsableId(row);
        QCOMPARE(list.reminderAt(row).rowid, qint64(row + 1));
    }
    QCOMPARE(usable, QList<bool>({false, false, false, false, false, true}));
}

void TestStore::invalidDateOrTimeIsRefused_data()
{
    QTest::addColumn<QDateTime>("due");
    QTest::addColumn<QDate>("day");
    QTest::newRow("no time") << QDateTime() << kDay;
    QTest::newRow("no day") << kDue << QDate();
}

void TestStore::invalidDateOrTimeIsRefused()
{
    QFETCH(QDateTime, due);
    QFETCH(QDate, day);
    TempDatabase db;
    ReminderStore store(db.path());
    Reminder wrong = reminderOf(QStringLiteral("t"), QStringLiteral("c"), due);
    wrong.day = day;
    QVERIFY(!errorOf([&] { store.add(wrong); }).isEmpty());
    QCOMPARE(db.sql(QStringLiteral("select count(*) from 日程提醒")), QStringLiteral("0"));

    store.add(reminderOf(QStringLiteral("s"), QStringLiteral("c")));
    wrong.id = 1;
    QVERIFY(!errorOf([&] { store.update(wrong); }).isEmpty());
    QCOMPARE(db.sql(QStringLiteral("select 主题||'|'||时间||'|'||日期 from 日程提醒")),
             QStringLiteral("s|2009-03-03 09:30:00|2009-03-03"));
}

void TestStore::idsAreNeverReused()
{
    TempDatabase db;
    ReminderStore store(db.path());
    for (const char *subject : {"a", "b"})
        store.add(reminderOf(QString::fromLatin1(subject), {}));
    QVERIFY(store.remove(2));
    store.add(reminderOf(QStringLiteral("c"), {}));
    QCOMPARE(db.sql(QStringLiteral("select group_concat(id||主题, ',') from 日程提醒")), QStringLiteral("1a,3c"));
}

// Another program deleted the row: the update and the removal find nothing, and say so without an error.
void TestStore::vanishedRowIsNoError()
{
    TempDatabase db;
    ReminderStore store(db.path());
    store.add(reminderOf(QStringLiteral("a"), {}));
    store.add(reminderOf(QStringLiteral("b"), {}));
    db.sql(QStringLiteral("delete from 日程提醒 where id=1"));
    Reminder changed = reminderOf(QStringLiteral("x"), QStringLiteral("x"));
    changed.id = 1;
    QCOMPARE(store.update(changed), false);
    QCOMPARE(store.remove(1), false);
    QCOMPARE(db.sql(QStringLiteral("select group_concat(id||主题, ',') from 日程提醒")), QStringLiteral("2b"));

    changed.id = 2;
    QCOMPARE(store.update(changed), true);
    QCOMPARE(store.remove(2), true);
    QCOMPARE(db.sql(QStringLiteral("select count(*) from 日程提醒")), QStringLiteral("0"));
}

void TestStore::unusableFileIsReportedAndUntouched_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("schema");
    QTest::addColumn<QString>("fragment");
    QTest::newRow("not a database") << QByteArray(4096, 'x') << QString() << "不是可用的数据库文件";
    QTest::newRow("no table") << QByteArray() << "create table other(x)"
                              << "中没有表“日程提醒”";
    QTest::newRow("missing column") << QByteArray() << "create table 日程提醒(id integer primary key,主题,内容,时间)"
                                    << "缺少列“日期”";
    QTest::newRow("without rowid") << QByteArray()
                                   << "create table 日程提醒(id integer primary key,主题,内容,时间,日期) without rowid"
                                   << "没有行号";
    QTest::newRow("rowid hidden by a column") << QByteArray() << "create table 日程提醒(id,主题,内容,时间,日期,RowId)"
                                              << "没有行号";
}

void TestStore::unusableFileIsReportedAndUntouched()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, schema);
    QFETCH(QString, fragment);
    TempDatabase db;
    QFile::remove(db.path());
    if (schema.isEmpty()) {
        QFile file(db.path());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    } else {
        db.sql(schema);
    }
    const QByteArray before = digest(db.path());

    ReminderStore store(db.path());
    const QString message = errorOf([&] { store.open(); });
    QVERIFY2(message.contains(fragment) && message.contains(db.path()), qPrintable(message));
    QVERIFY(!store.isOpen());
    ReminderListModel list(store);
    const std::function<void()> statements[] = {
        [&] { store.dueAt(kDue); },
        [&] { store.onDay(kDay); },
        [&] { store.add(reminderOf(QStringLiteral("s"), {})); },
        [&] { store.update(reminderOf(QStringLiteral("s"), {})); },
        [&] { store.remove(1); },
        [&] { list.reload(); },
    };
    for (const auto &statement : statements)
        QCOMPARE(errorOf(statement), message);
    QCOMPARE(digest(db.path()), before);
}

void TestStore::readOnlyFileIsReadAndKeptAsItIs_data()
{
    QTest::addColumn<bool>("fileWritable");
    QTest::addColumn<bool>("dirWritable");
    QTest::newRow("file") << false << true;
    // SQLite writes its journal beside the file.
    QTest::newRow("directory") << true << false;
}

// A file that this user may only read (another user's, on a read-only disk) still shows and reminds; the
// writes are refused with one clear message, and nothing is written to the file or beside it.
void TestStore::readOnlyFileIsReadAndKeptAsItIs()
{
    if (geteuid() == 0) {
        rerunAsUnprivilegedUser();
        return;
    }
    QFETCH(bool, fileWritable);
    QFETCH(bool, dirWritable);
    const QFile::Permissions read = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
    const QFile::Permissions enter = QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
    TempDatabase db;
    db.sql(
        QStringLiteral("insert into 日程提醒(主题,内容,时间,日期) values('s','c','2009-03-03 09:30:00','2009-03-03')"));
    const QFile::Permissions dirWas = QFile::permissions(db.dir());
    QVERIFY(QFile::setPermissions(db.path(), read | (fileWritable ? QFile::WriteOwner : QFile::Permissions())));
    QVERIFY(QFile::setPermissions(db.dir(), read | enter | (dirWritable ? QFile::WriteOwner : QFile::Permissions())));
    const auto restore = qScopeGuard([&] { QFile::setPermissions(db.dir(), dirWas); });
    const QByteArray before = digest(db.path());
    const QDir dir(db.dir());
    const QStringList entries = dir.entryList(QDir::AllEntries | QDir::Hidden);

    ReminderStore store(db.path());
    QCOMPARE(store.onDay(kDay).size(), 1);
    QCOMPARE(store.dueAt(kDue).size(), 1);
    QCOMPARE(store.dueBetween(kDue.addSecs(-60), kDue).size(), 1);
    ReminderListModel list(store);
    list.reload();
    QCOMPARE(list.rowCount(), 1);
    QVERIFY(store.isReadOnly());
    store.dataVersion();

    const QString refusal = QStringLiteral("数据库文件“%1”是只读文件，不能保存修改。").arg(db.path());
    Reminder stored = reminderOf(QStringLiteral("t"), QStringLiteral("d"));
    stored.id = 1;
    const std::function<void()> writes[] = {
        [&] { store.add(stored); },
        [&] { store.update(stored); },
        [&] { store.remove(1); },
        [&] { store.transaction([] {}); },
    };
    for (const auto &write : writes)
        QCOMPARE(errorOf(write), refusal);
    QCOMPARE(store.onDay(kDay).size(), 1);
    QCOMPARE(digest(db.path()), before);
    QCOMPARE(dir.entryList(QDir::AllEntries | QDir::Hidden), entries);
}

void TestStore::missingFileIsRetriedByEveryStatement()
{
    TempDatabase db;
    const QString path = db.path();
    QFile::rename(path, path + QStringLiteral(".away"));
    ReminderStore store(path);
    ReminderListModel list(store);
    QVERIFY(errorOf([&] { store.open(); }).contains(QStringLiteral("找不到数据库文件")));
    QVERIFY(errorOf([&] { store.dueAt(kDue); }).contains(path));
    QVERIFY(errorOf([&] { list.reload(); }).contains(path));
    QVERIFY(!list.isLoaded());
    QVERIFY(!QFile::exists(path));

    QFile::rename(path + QStringLiteral(".away"), path);
    QCOMPARE(store.dueAt(kDue).size(), 0);
    list.reload();
    QVERIFY(list.isLoaded());
    QCOMPARE(list.columnCount(), 5);
}

void TestStore::oddRowsAreRead_data()
{
    // SQL expressions for the row that another program writes.
    QTest::addColumn<QString>("subjectSql");
    QTest::addColumn<QString>("contentSql");
    QTest::addColumn<QString>("timeSql");
    QTest::addColumn<QString>("subject");
    QTest::addColumn<QString>("content");
    QTest::addColumn<QDateTime>("due");
    const QString dueSql = QStringLiteral("'2009-03-03 09:30:00'");
    QTest::newRow("no subject or content") << "null"
                                           << "null" << dueSql << QString() << QString() << kDue;
    QTest::newRow("no time") << "'s'"
                             << "'c'"
                             << "null"
                             << "s"
                             << "c" << QDateTime();
    QTest::newRow("time that names no time") << "'s'"
                                             << "'c'"
                                             << "'tomorrow'"
                                             << "s"
                                             << "c" << QDateTime();
    QTest::newRow("30 February") << "'s'"
                                 << "'c'"
                                 << "'2009-02-30 09:30:00'"
                                 << "s"
                                 << "c" << QDateTime();
    QTest::newRow("loose time") << "'s'"
                                << "'c'"
                                << "'2009-3-3 9:30'"
                                << "s"
                                << "c" << kDue;
    QTest::newRow("numbers") << "12.5"
                             << "7"
                             << "42"
                             << "12.5"
                             << "7" << QDateTime();
    QTest::newRow("blobs") << "x'e4bda0e5a5bd'"
                           << "x''"
                           << "x'00ff'"
                           << "你好" << QString(QLatin1String("")) << QDateTime();
    QTest::newRow("10 MB content") << "'s'"
                                   << "hex(zeroblob(5242880))" << dueSql << "s" << QString(10 * 1024 * 1024, u'0')
                                   << kDue;
}

// A row written by another program is read whatever it holds; how to show a missing value is the reader's part.
void TestStore::oddRowsAreRead()
{
    QFETCH(QString, subjectSql);
    QFETCH(QString, contentSql);
    QFETCH(QString, timeSql);
    QFETCH(QString, subject);
    QFETCH(QString, content);
    QFETCH(QDateTime, due);
    TempDatabase db;
    db.sql(QStringLiteral("drop table 日程提醒; create table 日程提醒(id integer primary key, 主题, 内容, 时间, 日期);"
                          "insert into 日程提醒 values(1, %1, %2, %3, '2009-03-03')")
               .arg(subjectSql, contentSql, timeSql));
    ReminderStore store(db.path());

    const QList<Reminder> today = store.onDay(kDay);
    QCOMPARE(today.size(), 1);
    QVERIFY(sameText(today.at(0).subject, subject));
    QCOMPARE(today.at(0).due, due);

    const QList<Reminder> dueNow = store.dueAt(kDue);
    QCOMPARE(dueNow.size(), timeSql == QStringLiteral("'2009-03-03 09:30:00'") ? 1 : 0);
    for (const Reminder &reminder : dueNow) {
        QVERIFY(sameText(reminder.subject, subject));
        QVERIFY(sameText(reminder.content, content));
    }

    ReminderListModel list(store);
    list.reload();
    const Reminder listed = list.reminderAt(0);
    QCOMPARE(listed.id, qint64(1));
    QVERIFY(sameText(listed.subject, subject));
    QVERIFY(sameText(listed.content, content));
    QCOMPARE(listed.due, due);
    QCOMPARE(listed.day, kDay);
    QCOMPARE(list.data(list.index(0, 1)).toString(), subject);
}

void TestStore::listIsPagedAndReloaded()
{
    TempDatabase db;
    fillRows(db, 1000);
    ReminderStore store(db.path());
    ReminderListModel list(store);
    list.reload();
    QVERIFY(list.isLoaded());
    QVERIFY(list.rowCount() < 1000);
    QStringList headers;
    for (int column = 0; column < list.columnCount(); ++column)
        headers << list.headerData(column, Qt::Horizontal).toString();
    QCOMPARE(headers, QStringList({"id", "主题", "内容", "时间", "日期"}));

    QSignalSpy inserted(&list, &QAbstractItemModel::rowsInserted);
    while (list.canFetchMore({}))
        list.fetchMore({});
    QCOMPARE(list.rowCount(), 1000);
    QVERIFY(inserted.count() > 0);
    for (int row = 0; row < 1000; ++row)
        QCOMPARE(list.data(list.index(row, 1)).toString(), QStringLiteral("r%1").arg(row + 1));
    const Reminder last = list.reminderAt(999);
    QCOMPARE(last.id, qint64(1000));
    QCOMPARE(last.due, QDateTime(kDay, QTime(16, 40), Qt::UTC));
    QCOMPARE(list.data(list.index(999, 3)).toString(), QStringLiteral("2009-03-03 16:40:00"));

    // Rows that another program removes while the list is read are not shown as empty rows.
    QSignalSpy reset(&list, &QAbstractItemModel::modelReset);
    list.reload();
    QCOMPARE(reset.count(), 1);
    db.sql(QStringLiteral("delete from 日程提醒 where id > 600"));
    while (list.canFetchMore({}))
        list.fetchMore({});
    QCOMPARE(list.rowCount(), 600);
    QCOMPARE(list.reminderAt(599).id, qint64(600));
}

// Another program (the background sync's connection, say) holds the file for a moment: a read waits for it
// instead of failing, and goes on within a few milliseconds of its end, not SQLite's next look up to 100 ms
// later (after a 230 ms lock, its own wait would look again only at 328 ms).
void TestStore::readWaitsForAShortLockAndNoLonger()
{
    TempDatabase db;
    fillRows(db, 3);
    ReminderStore store(db.path());
    store.open();
    QSemaphore locked;
    QElapsedTimer clock;
    clock.start();
    qint64 released = 0;
    std::thread other([&] {
        const ExclusiveLock lock(db.path());
        locked.release();
        QThread::msleep(230);
        released = clock.elapsed();
    });
    locked.acquire();
    QList<Reminder> day;
    QVERIFY_THROWS_NO_EXCEPTION(day = store.onDay(QDate(2009, 3, 3)));
    const qint64 read = clock.elapsed();
    other.join();
    QCOMPARE(day.size(), 3);
    QVERIFY2(read >= 230 && read - released < 40, qPrintable(QStringLiteral("%1 %2").arg(read).arg(released)));
}

// Another program holds the file while the views scroll: the failure is reported, what was read stays, and
// the next fetch carries on once the file is free.
void TestStore::listUnderAnotherProgramsLock()
{
    TempDatabase db;
    fillRows(db, 300);
    ReminderStore store(db.path());
    ReminderListModel list(store);
    list.reload();
    const int firstPage = list.rowCount();
    QVERIFY(firstPage < 300);
    // Fail at once instead of after the connection's patience.
    sqlite3_busy_timeout(store.connection().handle(), 0);
    QSignalSpy failed(&list, &ReminderListModel::fetchFailed);
    {
        const ExclusiveLock lock(db.path());
        QVERIFY_THROWS_NO_EXCEPTION(list.fetchMore({}));
        QCOMPARE(failed.count(), 1);
        QVERIFY2(failed.at(0).at(0).toString().contains(QStringLiteral("database is locked")),
                 qPrintable(failed.at(0).at(0).toString()));
        QCOMPARE(list.rowCount(), firstPage);
        QVERIFY(list.canFetchMore({}));
    }
    list.fetchMore({});
    QCOMPARE(list.rowCount(), 300);
    QCOMPARE(failed.count(), 1);

    const ExclusiveLock lock(db.path());
    QSignalSpy reset(&list, &QAbstractItemModel::modelReset);
    QVERIFY(errorOf([&] { list.reload(); }).contains(QStringLiteral("database is locked")));
    QCOMPARE(reset.count(), 1);
    QVERIFY(!list.isLoaded());
    QCOMPARE(list.rowCount(), 0);
    QVERIFY(!list.canFetchMore({}));
}

void TestStore::dueBetweenCatchesUpMinutes_data()
{
    QTest::addColumn<QDateTime>("after");
    QTest::addColumn<QDateTime>("upTo");
    QTest::addColumn<QStringList>("subjects");
    const QDateTime nine(kDay, QTime(9, 0, 30), Qt::UTC);
    QTest::newRow("one tick") << nine << nine.addSecs(30) << QStringList({"9:01"});
    QTest::newRow("same minute") << nine << nine.addSecs(20) << QStringList();
    QTest::newRow("after's own minute is left out") << nine.addSecs(-30) << nine.addSecs(30) << QStringList({"9:01"});
    QTest::newRow("missed minutes in time order")
        << nine << nine.addSecs(5 * 60) << QStringList({"9:01", "9:02 b", "9:02 a", "9:03:15", "9:05"});
    QTest::newRow("across midnight") << QDateTime(kDay, QTime(23, 58), Qt::UTC)
                                     << QDateTime(kDay.addDays(1), QTime(0, 1), Qt::UTC)
                                     << QStringList({"23:59", "0:00", "0:01"});
    QTest::newRow("backwards") << nine.addSecs(300) << nine << QStringList();
    QTest::newRow("local time is wall-clock too") << QDateTime(kDay, QTime(9, 0, 30)) << QDateTime(kDay, QTime(9, 2))
                                                  << QStringList({"9:01", "9:02 b", "9:02 a"});
}

// The minutes that passed without a tick (a suspend, a stopped process, a clock jump) are caught up at once.
void TestStore::dueBetweenCatchesUpMinutes()
{
    QFETCH(QDateTime, after);
    QFETCH(QDateTime, upTo);
    QFETCH(QStringList, subjects);
    TempDatabase db;
    // Inserted out of order; "9:02 b" before "9:02 a" by id; a time with seconds falls due in its minute.
    db.sql(QStringLiteral(
        "insert into 日程提醒(主题,内容,时间,日期) values"
        "('9:05','','2009-03-03 09:05:00','2009-03-03'),('9:02 b','','2009-03-03 09:02:00','2009-03-03'),"
        "('9:02 a','','2009-03-03 09:02:00','2009-03-03'),('9:00','','2009-03-03 09:00:00','2009-03-03'),"
        "('9:01','','2009-03-03 09:01:00','2009-03-03'),('9:03:15','','2009-03-03 09:03:15','2009-03-03'),"
        "('9:06','','2009-03-03 09:06:00','2009-03-03'),('23:59','','2009-03-03 23:59:00','2009-03-03'),"
        "('0:00','','2009-03-04 00:00:00','2009-03-04'),('0:01','','2009-03-04 00:01:00','2009-03-04'),"
        "('0:02','','2009-03-04 00:02:00','2009-03-04')"));
    ReminderStore store(db.path());
    StatementLog log(store);
    const QList<Reminder> due = store.dueBetween(after, upTo);
    QStringList found;
    for (const Reminder &reminder : due) {
        found << reminder.subject;
        QVERIFY(reminder.id > 0);
        QVERIFY(!reminder.content.isNull());
        QVERIFY(reminder.day.isValid());
    }
    QCOMPARE(found, subjects);
    QCOMPARE(log.written.size(), 1);
    QVERIFY2(!log.written.at(0).contains(QLatin1String("2009")), qPrintable(log.written.at(0)));

    const QString plan = queryPlan(store, log.written.at(0), {"2009-03-03 09:00:00", "2009-03-03 09:05:00"});
    QVERIFY2(plan.contains(QStringLiteral("USING INDEX 日程提醒_时间")) && !plan.contains(QStringLiteral("SCAN")),
             qPrintable(plan));
}

// Another program's commit changes the version; the store's own writes and mere reading do not.
void TestStore::dataVersionTellsOtherProgramsChanges()
{
    TempDatabase db;
    ReminderStore store(db.path());
    const qint64 first = store.dataVersion();
    store.onDay(kDay);
    store.add(reminderOf(QStringLiteral("own"), {}));
    QCOMPARE(store.dataVersion(), first);
    db.sql(QStringLiteral(
        "insert into 日程提醒(主题,内容,时间,日期) values('other','','2009-03-03 09:31:00','2009-03-03')"));
    const qint64 second = store.dataVersion();
    QVERIFY(second != first);
    QCOMPARE(store.dataVersion(), second);
}

void TestStore::transactionIsAllOrNothing()
{
    TempDatabase db;
    ReminderStore store(db.path());
    store.transaction([&] {
        store.add(reminderOf(QStringLiteral("a"), {}));
        store.add(reminderOf(QStringLiteral("b"), {}));
    });
    QCOMPARE(db.sql(QStringLiteral("select group_concat(主题, ',') from 日程提醒")), QStringLiteral("a,b"));

    const QString failure = errorOf([&] {
        store.transaction([&] {
            store.add(reminderOf(QStringLiteral("c"), {}));
            store.remove(1);
            throw AppError(QStringLiteral("stop"));
        });
    });
    QCOMPARE(failure, QStringLiteral("stop"));
    QCOMPARE(db.sql(QStringLiteral("select group_concat(主题, ',') from 日程提醒")), QStringLiteral("a,b"));
    // The store is usable afterwards, and a failure inside the engine rolls back as well.
    QVERIFY(!errorOf([&] {
                 store.transaction([&] {
                     store.add(reminderOf(QStringLiteral("d"), {}));
                     Statement(store.connection(), "insert into 没有的表 values(1)").run();
                 });
             }).isEmpty());
    store.add(reminderOf(QStringLiteral("e"), {}));
    QCOMPARE(db.sql(QStringLiteral("select group_concat(主题, ',') from 日程提醒")), QStringLiteral("a,b,e"));
}

QTEST_GUILESS_MAIN(TestStore)
#include "tst_store.moc"
