#include "tests/cli/clirun.h"
#include "tests/support/tempdatabase.h"

#include <QProcess>
#include <QTest>

// The built executable as a shell sees it.
class TestOrvaneDb : public QObject
{
    Q_OBJECT

private slots:
    void exitStatuses_data();
    void exitStatuses();
    void standardStreams();
    void bashCompletion_data();
    void bashCompletion();
};

void TestOrvaneDb::exitStatuses_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("out"); // the beginning of the standard output
    QTest::newRow("help") << QStringList{"--help"} << 0 << QByteArray("Usage: orvane-db [--file PATH] COMMAND");
    QTest::newRow("help of a command") << QStringList{"add", "-h"} << 0 << QByteArray("Usage: orvane-db");
    QTest::newRow("version") << QStringList{"--version"} << 0 << QByteArray("orvane-db " ORVANE_VERSION "\n");
    QTest::newRow("done") << QStringList{"list", "--all"} << 0 << QByteArray("no reminders\n");
    QTest::newRow("bad input") << QStringList{"list", "--date", "tomorrow"} << 1 << QByteArray();
    QTest::newRow("no command") << QStringList{} << 1 << QByteArray();
    QTest::newRow("store failure") << QStringList{"--file", "/nonexistent/data.mdb", "list"} << 2 << QByteArray();
}

void TestOrvaneDb::exitStatuses()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QByteArray, out);
    TempDatabase db;
    const CliRun run = runExecutable(QStringList{"--file", db.path()} + arguments);
    QCOMPARE(run.status, status);
    QVERIFY2(run.out.startsWith(QString::fromUtf8(out)), qPrintable(run.out));
    // A failure says why on the standard error, and only then.
    QCOMPARE(run.error.isEmpty(), status == 0);
}

// export to and import from the standard streams, as in a pipe.
void TestOrvaneDb::standardStreams()
{
    TempDatabase source;
    QCOMPARE(runExecutable({"--file", source.path(), "add", "Standup", "--at", "2026-03-04 09:30", "--content", "a,b"})
                 .status,
             0);
    const CliRun exported = runExecutable({"--file", source.path(), "export", "--ics", "-"});
    QCOMPARE(exported.status, 0);
    QVERIFY(exported.out.startsWith(QLatin1String("BEGIN:VCALENDAR\r\n")));
    TempDatabase target;
    const CliRun imported = runExecutable({"--file", target.path(), "import", "--ics", "-"}, exported.out.toUtf8());
    QCOMPARE(imported.status, 0);
    QCOMPARE(target.sql(QStringLiteral("select 主题||'|'||内容||'|'||时间 from 日程提醒")),
             QStringLiteral("Standup|a,b|2026-03-04 09:30:00"));
}

void TestOrvaneDb::bashCompletion_data()
{
    QTest::addColumn<QString>("line"); // the words before the one being completed, which starts empty
    QTest::addColumn<QString>("offered");
    QTest::newRow("commands") << "orvane-db"
                              << "init add list delete export import --file --help --version";
    QTest::newRow("after --file") << "orvane-db --file x.mdb"
                                  << "init add list delete export import --file --help --version";
    QTest::newRow("an option's value") << "orvane-db add s --at"
                                       << "";
    QTest::newRow("import's options") << "orvane-db import"
                                      << "--ics --dry-run --file";
    QTest::newRow("list's options") << "orvane-db --file x list --json"
                                    << "--today --date --from --to --all --json --file";
}

// What bash offers with the script that orvane-db writes for it.
void TestOrvaneDb::bashCompletion()
{
    QFETCH(QString, line);
    QFETCH(QString, offered);
    const CliRun script = runExecutable({"--bash-completion"});
    QCOMPARE(script.status, 0);
    QProcess bash;
    bash.start(QStringLiteral("bash"),
               {"-c", script.out
                          + QStringLiteral("COMP_WORDS=(%1 '')\nCOMP_CWORD=$((${#COMP_WORDS[@]} - 1))\n"
                                           "_orvane_db\necho \"${COMPREPLY[*]}\"\n")
                                .arg(line)});
    QVERIFY(bash.waitForFinished());
    QCOMPARE(QString::fromUtf8(bash.readAllStandardOutput()).trimmed(), offered);
}

QTEST_GUILESS_MAIN(TestOrvaneDb)
#include "tst_orvanedb.moc"
