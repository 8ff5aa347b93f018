#include "tests/cli/clirun.h"
#include "tests/support/tempdatabase.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>

namespace {

// Imports `path` with the built orvane-db.
CliRun import(const TempDatabase &db, const QString &path)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // Freed memory is given back at once, so that what stays resident is what the import holds.
    environment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("quarantine_size_mb=0:detect_leaks=0"));
    return runExecutable({"--file", db.path(), "import", "--ics", path}, {}, environment);
}

// The largest resident size of the children that ended, in MB.
long childrenPeakMb()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_maxrss / 1024;
}

QByteArray eventText(int i, const QByteArray &description)
{
    return "BEGIN:VEVENT\r\nUID:event-" + QByteArray::number(i) + "@example.org\r\nDTSTAMP:20260301T000000Z\r\n"
           + "DTSTART:2026" + QByteArray::number(3 + i / 40000 % 9).rightJustified(2, '0')
           + QByteArray::number(1 + i % 28).rightJustified(2, '0') + "T"
           + QByteArray::number(i % 24).rightJustified(2, '0') + QByteArray::number(i % 60).rightJustified(2, '0')
           + "00\r\nSUMMARY:Event " + QByteArray::number(i) + "\\, imported\r\n" + description
           + "BEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER:-PT5M\r\nEND:VALARM\r\nEND:VEVENT\r\n";
}

} // namespace

class TestCliBig : public QObject
{
    Q_OBJECT

private slots:
    void fiftyMegabytesInBoundedMemory();
    void hundredThousandEvents();
};

// One event holds 50 MB of description on folded lines: the description is left out, the events come in, and
// the import holds no more than a few megabytes of it at a time.
void TestCliBig::fiftyMegabytesInBoundedMemory()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.ics"));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("BEGIN:VCALENDAR\r\nVERSION:2.0\r\n");
        file.write(eventText(1, {}));
        file.write("BEGIN:VEVENT\r\nUID:big\r\nSUMMARY:Big\r\nDTSTART:20260305T090000\r\nDESCRIPTION:");
        const QByteArray fold = " " + QByteArray(73, 'x') + "\r\n";
        for (qint64 written = 0; written < 50LL * 1024 * 1024; written += fold.size())
            file.write(fold);
        file.write("END:VEVENT\r\n");
        file.write(eventText(2, {}));
        file.write("END:VCALENDAR\r\n");
    }
    TempDatabase db;
    const CliRun run = import(db, path);
    QCOMPARE(run.status, 0);
    QVERIFY2(run.out.contains(QLatin1String("imported 3 reminders (0 already imported, 0 skipped)")),
             qPrintable(run.out));
    const long peak = childrenPeakMb();
    qInfo("peak resident size of the import: %ld MB", peak);
    QVERIFY2(peak < 120, qPrintable(QString::number(peak)));
}

void TestCliBig::hundredThousandEvents()
{
    constexpr int kEvents = 100000;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("many.ics"));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("BEGIN:VCALENDAR\r\nVERSION:2.0\r\n");
        for (int i = 0; i < kEvents; ++i)
            file.write(eventText(i, "DESCRIPTION:Line one\\nline two\r\n"));
        file.write("END:VCALENDAR\r\n");
    }
    TempDatabase db;
    QElapsedTimer timer;
    timer.start();
    const CliRun run = import(db, path);
    qInfo("100,000 events imported in %lld ms", timer.elapsed());
    QCOMPARE(run.status, 0);
    QVERIFY2(run.out.contains(QLatin1String("imported 100000 reminders")), qPrintable(run.out));
    QCOMPARE(db.sql(QStringLiteral("select count(*) from 日程提醒")), QString::number(kEvents));
    QCOMPARE(db.sql(QStringLiteral("select 主题||'|'||内容||'|'||时间 from 日程提醒 where id=1")),
             QStringLiteral("Event 0, imported|Line one\nline two|2026-02-28 23:55:00"));
}

QTEST_GUILESS_MAIN(TestCliBig)
#include "tst_cli_big.moc"
