#include "tests/support/tempdatabase.h"

#include <QProcess>
#include <QTest>

namespace {

struct Run
{
    int status = -1;
    QByteArray out;
    QByteArray error;
};

Run orvaneDb(const QStringList &arguments, const QByteArray &input = {})
{
    QProcess process;
    process.start(QStringLiteral(ORVANE_DB), arguments);
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(60000);
    Run run;
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.error = process.readAllStandardError();
    return run;
}

} // namespace

// The built executable as a shell sees it.
class TestOrvaneDb : public QObject
{
    Q_OBJECT

private slots:
    void exitStatuses_data();
    void exitStatuses();
    void standardStreams();
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
    const Run run = orvaneDb(QStringList{"--file", db.path()} + arguments);
    QCOMPARE(run.status, status);
    QVERIFY2(run.out.startsWith(out), run.out.constData());
    // A failure says why on the standard error, and only then.
    QCOMPARE(run.error.isEmpty(), status == 0);
}

// export to and import from the standard streams, as in a pipe.
void TestOrvaneDb::standardStreams()
{
    TempDatabase source;
    QCOMPARE(
        orvaneDb({"--file", source.path(), "add", "Standup", "--at", "2026-03-04 09:30", "--content", "a,b"}).status,
        0);
    const Run exported = orvaneDb({"--file", source.path(), "export", "--ics", "-"});
    QCOMPARE(exported.status, 0);
    QVERIFY(exported.out.startsWith("BEGIN:VCALENDAR\r\n"));
    TempDatabase target;
    const Run imported = orvaneDb({"--file", target.path(), "import", "--ics", "-"}, exported.out);
    QCOMPARE(imported.status, 0);
    QCOMPARE(target.sql(QStringLiteral("select 主题||'|'||内容||'|'||时间 from 日程提醒")),
             QStringLiteral("Standup|a,b|2026-03-04 09:30:00"));
}

QTEST_GUILESS_MAIN(TestOrvaneDb)
#include "tst_orvanedb.moc"
