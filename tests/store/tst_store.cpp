#include "core/apperror.h"
#include "store/connection.h"
#include "store/reminderlistmodel.h"
#include "store/reminderstore.h"
#include "store/statement.h"
#include "store/textformats.h"
#include "tests/support/tempdatabase.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>

#include <functional>
#include <grp.h>
#include <pwd.h>
#include <sqlite3.h>
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

// Runs the current test case again in a child process of the unprivileged user "nobody": to root every file
// is writable.
void rerunAsUnprivilegedUser()
{
    const passwd *nobody = getpwnam("nobody");
    QVERIFY2(nobody, "no user nobody to run the case as");
    const uid_t uid = nobody->pw_uid;
    const gid_t gid = nobody->pw_gid;
    QProcess child;
    child.setChildProcessModifier([uid, gid] {
        if (setgroups(0, nullptr) != 0 || setgid(gid) != 0 || setuid(uid) != 0)
            _exit(126);
    });
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TMPDIR"), QStringLiteral("/tmp"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("%1:%2").arg(QTest::currentTestFunction(), QTest::currentDataTag())});
    QVERIFY(child.waitForFinished(120000));
    QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, child.readAll().constData());
}

} // namespace

class TestStore : public QObject
{
    Q_OBJECT

private slots:
    void statementsRunAsWritten();
    void textsRoundTrip_data();
    void textsRoundTrip();
    void dueAtMatchesTheMinute_data();
    void dueAtMatchesTheMinute();
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
    void dueBetweenCatchesUpMinutes_data();
    void dueBetweenCatchesUpMinutes();
    void dataVersionTellsOtherProgramsChanges();
    void transactionIsAllOrNothing();
};

// The statements reach the engine exactly as written, every value bound in its place.
void TestStore::statementsRunAsWritten()
{
    TempDatabase db;
    ReminderStore store(db.path());
    StatementLog log(store);
    store.add(reminderOf(QStringLiteral("s"), QStringLiteral("c")));
    store.update({1, QStringLiteral("t"), QStringLiteral("d"), QDateTime(QDate(2009, 3, 4), QTime(10, 0, 15), Qt::UTC),
                  QDate(2009, 3, 4)});
    store.onDay(QDate(2009, 3, 4));
    store.dueAt(QDateTime(QDate(2009, 3, 4), QTime(10, 0, 42)));
    store.remove(1);
    ReminderListModel list(store);
    list.reload();

    QCOMPARE(log.written, QStringList({
                              "insert into 日程提醒(主题,内容,时间,日期)values(:a,:b,:c,:d)",
                              "update 日程提醒 set 主题=:a,内容=:b,日期=:c,时间=:d where id=:e",
                              "select 主题,时间 from 日程提醒 where 日期=:a",
                              "SELECT * FROM 日程提醒 WHERE 时间 =:a",
                              "DELETE FROM 日程提醒 WHERE id=?",
                              "select * from 日程提醒",
                          }));
    QCOMPARE(log.expanded,
             QStringList({
                 "insert into 日程提醒(主题,内容,时间,日期)values('s','c','2009-03-03 09:30:00','2009-03-03')",
                 "update 日程提醒 set 主题='t',内容='d',日期='2009-03-04',时间='2009-03-04 10:00:15' where id=1",
                 "select 主题,时间 from 日程提醒 where 日期='2009-03-04'",
                 "SELECT * FROM 日程提醒 WHERE 时间 ='2009-03-04 10:00:00'",
                 "DELETE FROM 日程提醒 WHERE id=1",
                 "select * from 日程提醒",
             }));
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
                                         << false;
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
        << nine << nine.addSecs(5 * 60) << QStringList({"9:01", "9:02 b", "9:02 a", "9:05"});
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
    // Inserted out of order; "9:02 b" before "9:02 a" by id; seconds other than 00 never fall due.
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
        QCOMPARE(reminder.due.time().second(), 0);
    }
    QCOMPARE(found, subjects);
    QCOMPARE(log.written.size(), 1);
    QVERIFY2(!log.written.at(0).contains(QLatin1String("2009")), qPrintable(log.written.at(0)));

    Statement plan(store.connection(), QByteArrayLiteral("EXPLAIN QUERY PLAN ") + log.written.at(0).toUtf8());
    plan.bind(1, QStringLiteral("2009-03-03 09:00:00"));
    plan.bind(2, QStringLiteral("2009-03-03 09:05:00"));
    QStringList steps;
    while (plan.next())
        steps << plan.text(3);
    QVERIFY2(steps.join(u'|').contains(QStringLiteral("USING INDEX 日程提醒_时间")), qPrintable(steps.join(u'|')));
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
