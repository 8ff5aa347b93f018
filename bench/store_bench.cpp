// How long the reminder store takes to run each of its statements, and its list model to reload, on a
// data.mdb of a million reminders, side by side with the same statements run by the sqlite3 shell on the
// same file in the same run.
// It prints figures and ratios only; nothing here passes or fails on time.
//
// Usage: store_bench <cache-dir>
//
// The million-row file is built once a day in <cache-dir> (its 255 "today" rows must be today's) and
// copied for each run, so that the inserts, updates and deletions never touch the cached file.
//
// How both sides are timed, so that the comparison is fair:
// - The shell is one sqlite3 process, started before the first figure and kept for the whole run, so its
//   start-up is never part of a figure. A sample sends it a batch of the same statement repeated B times
//   (each repetition with its own values where they must differ) on its standard input, then asks it to
//   print a marker; the clock runs from writing the batch to reading the marker. Right before, the same
//   round trip with no statement in it is timed; the median of those empty round trips (the pipe, the
//   wake-ups, the marker) is subtracted from each batch and the rest divided by B.
// - The shell writes its rows to /dev/null, so it still reads and formats every field of every row, as
//   our side reads every field it is asked for; it is set up like our connection: busy time-out, rollback
//   journal, synchronous FULL.
// - Our side runs the same B repetitions one after the other through the reminder store, each timed alone
//   with a nanosecond clock, summed and divided by B.
// - The two sides take turns block by block, so a drift in the load of the shared machine falls on both
//   alike; after the other process has written, the first statement of a block re-reads the pages that
//   changed, on both sides alike.
// A figure is the median (and the minimum) over the samples of the per-statement mean of a block.

#include "core/apperror.h"
#include "store/connection.h"
#include "store/reminderlistmodel.h"
#include "store/reminderstore.h"
#include "store/statement.h"
#include "store/textformats.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QtGlobal>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

constexpr int kReminders = 1'000'000;
constexpr int kTodays = 255;
// Every 3921st row is one of today's, so today's rows lie all over the table, as rows entered on
// different days would.
constexpr int kTodayStride = 3921;
// The other rows are spread over the 1999 days before today and the 2000 after, at most one per minute.
constexpr int kOtherDays = 3999;
constexpr int kTodayMinuteStep = 5; // today's rows fall at 00:00, 00:05, ... 21:10
constexpr int kListPage = 256;      // the rows the manager's list reads at first
// A sample is the mean of a block of this many statements in a row; reads are short, so their blocks are
// longer, to make the shell's round trip small beside them.
constexpr int kReadBatch = 20;
constexpr int kReadSamples = 50;
constexpr int kWriteBatch = 5;
constexpr int kWriteSamples = 30;
// The list's reload counts a million rows, so its blocks are short.
constexpr int kListBatch = 5;
constexpr int kListSamples = 30;

QString g_workFile; // removed on every way out

[[noreturn]] void die(const QString &message)
{
    std::fprintf(stderr, "store_bench: %s\n", qUtf8Printable(message));
    if (!g_workFile.isEmpty()) {
        QFile::remove(g_workFile);
        QFile::remove(g_workFile + QStringLiteral("-journal"));
    }
    std::exit(1);
}

QString sqlLiteral(QString value)
{
    return QLatin1Char('\'') + value.replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
}

QString minuteText(int minute, int second = 0)
{
    return QStringLiteral("%1:%2:%3")
        .arg(minute / 60 % 24, 2, 10, QLatin1Char('0'))
        .arg(minute % 60, 2, 10, QLatin1Char('0'))
        .arg(second, 2, 10, QLatin1Char('0'));
}

// One sqlite3 shell on a file, driven through pipes.
class Shell
{
public:
    explicit Shell(const QString &file)
    {
        int in[2];
        int out[2];
        if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0)
            die(QStringLiteral("cannot make pipes for sqlite3"));
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        QByteArray path = QFile::encodeName(file);
        char program[] = "sqlite3";
        char bail[] = "-bail"; // a failing statement ends the shell, so it cannot pass for a fast one
        char batch[] = "-batch";
        char *argv[] = {program, bail, batch, path.data(), nullptr};
        const int status = posix_spawnp(&m_pid, program, &actions, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(in[0]);
        ::close(out[1]);
        if (status != 0)
            die(QStringLiteral("cannot start sqlite3 (install Debian's sqlite3 package)"));
        m_in = in[1];
        m_out = out[0];
    }

    ~Shell()
    {
        ::close(m_in);
        ::close(m_out);
        int status = 0;
        waitpid(m_pid, &status, 0);
    }

    Shell(const Shell &) = delete;
    Shell &operator=(const Shell &) = delete;

    // Runs the text and returns what the shell printed.
    QByteArray output(const QByteArray &text)
    {
        const QByteArray mark = nextMark();
        send(text + ".print " + mark + '\n');
        return waitFor(mark);
    }

    // Nanoseconds from handing the shell the statements to its answer; its rows go to /dev/null.
    qint64 roundTrip(const QByteArray &statements)
    {
        const QByteArray mark = nextMark();
        const QByteArray text = ".output /dev/null\n" + statements + ".output stdout\n.print " + mark + '\n';
        QElapsedTimer timer;
        timer.start();
        send(text);
        waitFor(mark);
        return timer.nsecsElapsed();
    }

private:
    QByteArray nextMark() { return "@@store_bench " + QByteArray::number(++m_marks); }

    void send(const QByteArray &text)
    {
        for (qsizetype done = 0; done < text.size();) {
            const ssize_t n = ::write(m_in, text.constData() + done, size_t(text.size() - done));
            if (n <= 0)
                die(QStringLiteral("sqlite3 stopped reading its input"));
            done += n;
        }
    }

    QByteArray waitFor(const QByteArray &mark)
    {
        const QByteArray line = mark + '\n';
        QByteArray got;
        char buffer[65536];
        while (!got.endsWith(line)) {
            const ssize_t n = ::read(m_out, buffer, sizeof buffer);
            if (n <= 0)
                die(QStringLiteral("sqlite3 stopped (see its message above)"));
            got.append(buffer, n);
        }
        got.chop(line.size());
        return got;
    }

    pid_t m_pid = 0;
    int m_in = -1;
    int m_out = -1;
    int m_marks = 0;
};

// The million-row file for `today`, built once in `dir` with orvane-db init and the shell.
QString millionRowFile(const QString &dir, const QDate &today)
{
    QDir cache(dir);
    if (!cache.mkpath(QStringLiteral(".")))
        die(QStringLiteral("cannot make %1").arg(dir));
    const QString todayText = reminderDateText(today);
    const QString name = QStringLiteral("store_bench-1m-%1.mdb").arg(todayText);
    const QString cached = cache.absoluteFilePath(name);
    if (QFile::exists(cached))
        return cached;
    // Files of earlier days no longer have their today's rows on today.
    for (const QString &old : cache.entryList({QStringLiteral("store_bench-1m-*.mdb*")}, QDir::Files))
        cache.remove(old);
    const QString building = cached + QStringLiteral(".building");
    std::printf("building %s (once a day)...\n", qUtf8Printable(cached));
    std::fflush(stdout);
    if (QProcess::execute(QStringLiteral(ORVANE_DB), {QStringLiteral("--file"), building, QStringLiteral("init")}) != 0)
        die(QStringLiteral("orvane-db init failed"));

    // Row i is one of today's when it is a multiple of the stride; otherwise its day is i mod 3999 mapped
    // onto the days around today (today left out) and its minute i div 3999, so no two rows share a minute.
    QString script = QStringLiteral(
        "PRAGMA cache_size=-262144;\n"
        "PRAGMA synchronous=OFF;\n"
        "BEGIN;\n"
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<{rows}),\n"
        " r(i, d, m) AS (SELECT i,\n"
        "  CASE WHEN i%{stride}=0 AND i/{stride}<={todays} THEN '{today}'\n"
        "   ELSE date('{today}', ((i%{days}) - {half} + ((i%{days}) >= {half})) || ' days') END,\n"
        "  CASE WHEN i%{stride}=0 AND i/{stride}<={todays} THEN (i/{stride}-1)*{step} ELSE (i/{days})%1440 END\n"
        "  FROM n)\n"
        "INSERT INTO 日程提醒(主题,内容,时间,日期)\n"
        " SELECT '提醒事项 '||i, '请记得处理第 '||i||' 号事项，完成以后记下结果。',\n"
        "  d||' '||printf('%02d:%02d:00', m/60, m%60), d FROM r;\n"
        "COMMIT;\n");
    script.replace(QStringLiteral("{rows}"), QString::number(kReminders))
        .replace(QStringLiteral("{stride}"), QString::number(kTodayStride))
        .replace(QStringLiteral("{todays}"), QString::number(kTodays))
        .replace(QStringLiteral("{today}"), todayText)
        .replace(QStringLiteral("{days}"), QString::number(kOtherDays))
        .replace(QStringLiteral("{half}"), QString::number(kOtherDays / 2))
        .replace(QStringLiteral("{step}"), QString::number(kTodayMinuteStep));
    {
        Shell shell(building);
        shell.output(script.toUtf8());
    }
    if (!QFile::rename(building, cached))
        die(QStringLiteral("cannot keep %1").arg(cached));
    return cached;
}

struct Figures
{
    double oursMedian = 0;
    double oursMin = 0;
    double shellMedian = 0;
    double shellMin = 0;
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double minimum(const std::vector<double> &values)
{
    return *std::min_element(values.begin(), values.end());
}

// `ours(rep)` runs repetition `rep` through the store and returns its nanoseconds; `shellStatement(rep)` is
// the shell's text of the same statement for its repetition `rep`. One untimed block of each warms up.
Figures compare(Shell &shell, int batch, int samples, const std::function<qint64(int)> &ours,
                const std::function<QByteArray(int)> &shellStatement)
{
    std::vector<double> oursMs;
    std::vector<double> emptyNs;
    std::vector<double> fullNs;
    int oursRep = 0;
    int shellRep = 0;
    for (int sample = -1; sample < samples; ++sample) {
        qint64 oursNs = 0;
        for (int i = 0; i < batch; ++i)
            oursNs += ours(oursRep++);
        QByteArray statements;
        for (int i = 0; i < batch; ++i)
            statements += shellStatement(shellRep++);
        const qint64 empty = shell.roundTrip({});
        const qint64 full = shell.roundTrip(statements);
        if (sample < 0)
            continue;
        oursMs.push_back(double(oursNs) / batch / 1e6);
        emptyNs.push_back(double(empty));
        fullNs.push_back(double(full));
    }
    const double overhead = median(emptyNs);
    std::vector<double> shellMs;
    for (double full : fullNs)
        shellMs.push_back((full - overhead) / batch / 1e6);
    return {median(oursMs), minimum(oursMs), median(shellMs), minimum(shellMs)};
}

int countOf(Connection &connection, const QString &sql)
{
    Statement count(connection, sql.toUtf8());
    return count.next() ? int(count.integer(0)) : 0;
}

int lineCount(const QByteArray &text)
{
    return int(text.count('\n'));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: store_bench <cache-dir>\n");
        return 2;
    }
    std::signal(SIGPIPE, SIG_IGN); // a shell that died is reported, not fatal here

    const QDate today = QDate::currentDate();
    const QString todayText = reminderDateText(today);
    const QString source = millionRowFile(QString::fromLocal8Bit(argv[1]), today);
    g_workFile = QFileInfo(source).absoluteDir().absoluteFilePath(
        QStringLiteral("store_bench-work-%1.mdb").arg(QCoreApplication::applicationPid()));
    if (!QFile::copy(source, g_workFile))
        die(QStringLiteral("cannot copy %1").arg(source));

    std::vector<std::pair<QString, Figures>> table;
    QString versions;
    try {
        ReminderStore store(g_workFile);
        store.open();
        Shell shell(g_workFile);
        shell.output(".timeout 5000\nPRAGMA synchronous=FULL;\n");

        Statement version(store.connection(), "SELECT sqlite_version()");
        const QString oursVersion = version.next() ? version.text(0) : QString();
        versions = QStringLiteral("ours: SQLite %1; shell: sqlite3 %2")
                       .arg(oursVersion, QString::fromUtf8(shell.output("SELECT sqlite_version();\n").trimmed()));

        // The due minutes: one of today's rows falls due at 12:00, none at 12:01.
        const QDateTime dueOneMinute(today, QTime(12, 0, 30));
        const QDateTime dueNoneMinute(today, QTime(12, 1, 30));
        const QString dueOne = dueText(dueOneMinute);
        const QString dueNone = dueText(dueNoneMinute);
        const QString dueSql = QStringLiteral("SELECT * FROM 日程提醒 WHERE 时间 =%1;\n");
        const QString todaySql = QStringLiteral("select 主题,时间 from 日程提醒 where 日期=%1;\n");

        // The file is the one described above, as the shell sees it.
        const int dueOneRows = lineCount(shell.output(dueSql.arg(sqlLiteral(dueOne)).toUtf8()));
        const int dueNoneRows = lineCount(shell.output(dueSql.arg(sqlLiteral(dueNone)).toUtf8()));
        const int todayRows = lineCount(shell.output(todaySql.arg(sqlLiteral(todayText)).toUtf8()));
        if (dueOneRows != 1 || dueNoneRows != 0 || todayRows != kTodays)
            die(QStringLiteral("%1 has %2/%3 due rows and %4 of today instead of 1/0 and %5")
                    .arg(source)
                    .arg(dueOneRows)
                    .arg(dueNoneRows)
                    .arg(todayRows)
                    .arg(kTodays));

        // The due select as the reminder watch runs it.
        auto oursDue = [&store](const QDateTime &minute, int expected) {
            return [&store, minute, expected](int) {
                QElapsedTimer timer;
                timer.start();
                const int rows = int(store.dueAt(minute).size());
                const qint64 ns = timer.nsecsElapsed();
                if (rows != expected)
                    die(QStringLiteral("the due select found %1 rows instead of %2").arg(rows).arg(expected));
                return ns;
            };
        };
        auto shellDue = [&](const QString &due) {
            const QByteArray statement = dueSql.arg(sqlLiteral(due)).toUtf8();
            return [statement](int) { return statement; };
        };
        table.emplace_back(QStringLiteral("due select, one row due"),
                           compare(shell, kReadBatch, kReadSamples, oursDue(dueOneMinute, 1), shellDue(dueOne)));
        table.emplace_back(QStringLiteral("due select, none due"),
                           compare(shell, kReadBatch, kReadSamples, oursDue(dueNoneMinute, 0), shellDue(dueNone)));

        // Today's select as the agenda runs it, every row's subject and time read.
        qint64 sink = 0;
        auto oursToday = [&](int) {
            QElapsedTimer timer;
            timer.start();
            const QList<Reminder> reminders = store.onDay(today);
            for (const Reminder &reminder : reminders)
                sink += reminder.subject.size() + reminder.due.time().minute();
            const qint64 ns = timer.nsecsElapsed();
            const int rows = int(reminders.size());
            if (rows != kTodays)
                die(QStringLiteral("today's select read %1 rows instead of %2").arg(rows).arg(kTodays));
            return ns;
        };
        const QByteArray shellTodayStatement = todaySql.arg(sqlLiteral(todayText)).toUtf8();
        auto shellToday = [&](int) { return shellTodayStatement; };
        table.emplace_back(QStringLiteral("today's select, 255 rows read"),
                           compare(shell, kReadBatch, kReadSamples, oursToday, shellToday));

        // The manager's list as it is reloaded: the first page read, every field as text, and the rows
        // counted; the shell runs the same two statements.
        ReminderListModel list(store);
        auto oursList = [&](int) {
            QElapsedTimer timer;
            timer.start();
            list.reload();
            const qint64 ns = timer.nsecsElapsed();
            if (list.rowCount() != kListPage || !list.canFetchMore({}))
                die(QStringLiteral("the list's first page holds %1 rows").arg(list.rowCount()));
            return ns;
        };
        const QByteArray shellListStatements = QByteArrayLiteral("select * from 日程提醒 limit ")
                                               + QByteArray::number(kListPage)
                                               + ";\nSELECT count(*) FROM (select * from 日程提醒);\n";
        auto shellList = [&](int) { return shellListStatements; };
        table.emplace_back(QStringLiteral("list reload, 1st page + count"),
                           compare(shell, kListBatch, kListSamples, oursList, shellList));

        // The writes: new reminders for tomorrow, existing rows moved to the day after, existing rows
        // deleted; the two sides never touch the same row, and their subjects have the same length.
        const QDate tomorrow = today.addDays(1);
        const QDate moved = today.addDays(2);
        const QString content = QStringLiteral("基准测试写入的内容，\n第二行。");
        auto subject = [](const char *who, int rep) {
            return QStringLiteral("基准 %1 %2").arg(QLatin1String(who)).arg(rep, 6, 10, QLatin1Char('0'));
        };
        auto at = [](const QDate &day, int minute, int second) {
            return QDateTime(day, QTime(minute / 60 % 24, minute % 60, second), Qt::UTC);
        };

        int oursInserts = 0;
        int shellInserts = 0;
        auto oursInsert = [&](int rep) {
            QElapsedTimer timer;
            timer.start();
            store.add({0, 0, subject("store", rep), content, at(tomorrow, rep, 15), tomorrow});
            const qint64 ns = timer.nsecsElapsed();
            ++oursInserts;
            return ns;
        };
        auto shellInsert = [&](int rep) {
            ++shellInserts;
            return QStringLiteral("insert into 日程提醒(主题,内容,时间,日期)values(%1,%2,%3,%4);\n")
                .arg(sqlLiteral(subject("shell", rep)), sqlLiteral(content),
                     sqlLiteral(reminderDateText(tomorrow) + QLatin1Char(' ') + minuteText(rep, 30)),
                     sqlLiteral(reminderDateText(tomorrow)))
                .toUtf8();
        };
        table.emplace_back(QStringLiteral("insert"),
                           compare(shell, kWriteBatch, kWriteSamples, oursInsert, shellInsert));

        constexpr int kOursUpdateFrom = 200'001;
        constexpr int kShellUpdateFrom = 300'001;
        int updates = 0;
        auto oursUpdate = [&](int rep) {
            QElapsedTimer timer;
            timer.start();
            const bool changed =
                store.update({kOursUpdateFrom + rep, 0, subject("store", rep), content, at(moved, rep, 15), moved});
            const qint64 ns = timer.nsecsElapsed();
            if (!changed)
                die(QStringLiteral("the update found no row"));
            ++updates;
            return ns;
        };
        auto shellUpdate = [&](int rep) {
            ++updates;
            return QStringLiteral("update 日程提醒 set 主题=%1,内容=%2,日期=%3,时间=%4 where id=%5;\n")
                .arg(sqlLiteral(subject("shell", rep)), sqlLiteral(content), sqlLiteral(reminderDateText(moved)),
                     sqlLiteral(reminderDateText(moved) + QLatin1Char(' ') + minuteText(rep, 30)))
                .arg(kShellUpdateFrom + rep)
                .toUtf8();
        };
        table.emplace_back(QStringLiteral("update"),
                           compare(shell, kWriteBatch, kWriteSamples, oursUpdate, shellUpdate));

        // Each side deletes rows of its own with the statement the store runs.
        constexpr int kOursDeleteFrom = 100'001;
        constexpr int kShellDeleteFrom = 400'001;
        int oursDeletes = 0;
        int shellDeletes = 0;
        auto oursDelete = [&](int rep) {
            QElapsedTimer timer;
            timer.start();
            const bool removed = store.remove(kOursDeleteFrom + rep);
            const qint64 ns = timer.nsecsElapsed();
            if (!removed)
                die(QStringLiteral("the delete removed no row"));
            ++oursDeletes;
            return ns;
        };
        auto shellDelete = [&](int rep) {
            ++shellDeletes;
            return QStringLiteral("DELETE FROM 日程提醒 WHERE id=%1;\n").arg(kShellDeleteFrom + rep).toUtf8();
        };
        table.emplace_back(QStringLiteral("delete"),
                           compare(shell, kWriteBatch, kWriteSamples, oursDelete, shellDelete));

        // Both sides' writes arrived, and nothing else happened to the file.
        Connection &db = store.connection();
        const int rows = countOf(db, QStringLiteral("SELECT count(*) FROM 日程提醒"));
        const int expectedRows = kReminders + oursInserts + shellInserts - oursDeletes - shellDeletes;
        const int inserted =
            countOf(db, QStringLiteral("SELECT count(*) FROM 日程提醒 WHERE 日期='%1' AND 主题 LIKE '基准 %'")
                            .arg(reminderDateText(tomorrow)));
        const int updated =
            countOf(db, QStringLiteral("SELECT count(*) FROM 日程提醒 WHERE 日期='%1' AND 主题 LIKE '基准 %'")
                            .arg(reminderDateText(moved)));
        if (rows != expectedRows || inserted != oursInserts + shellInserts || updated != updates)
            die(QStringLiteral("after the writes: %1 rows (expected %2), %3 inserted (expected %4), %5 updated "
                               "(expected %6)")
                    .arg(rows)
                    .arg(expectedRows)
                    .arg(inserted)
                    .arg(oursInserts + shellInserts)
                    .arg(updated)
                    .arg(updates));
        if (sink == 0)
            die(QStringLiteral("today's rows were empty"));
    } catch (const AppError &error) {
        die(error.message());
    }
    QFile::remove(g_workFile);
    QFile::remove(g_workFile + QStringLiteral("-journal"));

    std::printf("%d reminders, %d of them today (%s); %s\n", kReminders, kTodays, qUtf8Printable(todayText),
                qUtf8Printable(versions));
    std::printf("milliseconds per statement: median and min over the samples, each the mean of a block of the\n"
                "statement repeated (reads: %d samples of %d, list: %d of %d, writes: %d of %d); ratio = ours / "
                "shell medians\n\n",
                kReadSamples, kReadBatch, kListSamples, kListBatch, kWriteSamples, kWriteBatch);
    std::printf("%-30s %11s %9s %12s %10s %7s\n", "statement", "ours (ms)", "ours min", "shell (ms)", "shell min",
                "ratio");
    for (const auto &[name, f] : table) {
        std::printf("%-30s %11.3f %9.3f %12.3f %10.3f %6.2fx\n", qUtf8Printable(name), f.oursMedian, f.oursMin,
                    f.shellMedian, f.shellMin, f.oursMedian / f.shellMedian);
    }
    return 0;
}
