#include "tests/cli/clirun.h"

#include "cli/commandline.h"
#include "cli/console.h"
#include "tests/support/fakeclock.h"
#include "tests/support/tempdatabase.h"

#include <QBuffer>
#include <QProcess>

CliRun runInProcess(const QStringList &arguments, const QByteArray &input)
{
    QBuffer in;
    in.setData(input);
    in.open(QIODevice::ReadOnly);
    QBuffer out;
    QBuffer err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    QTextStream text(&out);
    QTextStream error(&err);
    const FakeClock clock;
    Console console{in, out, text, error, clock};
    CliRun result;
    result.status = runCommandLine(QStringList{QStringLiteral("orvane-db")} + arguments, console);
    result.out = QString::fromUtf8(out.data());
    result.error = QString::fromUtf8(err.data());
    return result;
}

CliRun runInProcess(const TempDatabase &db, const QStringList &arguments, const QByteArray &input)
{
    return runInProcess(QStringList{QStringLiteral("--file"), db.path()} + arguments, input);
}

CliRun runExecutable(const QStringList &arguments, const QByteArray &input, const QProcessEnvironment &environment)
{
    QProcess process;
    if (!environment.isEmpty())
        process.setProcessEnvironment(environment);
    process.start(QStringLiteral(ORVANE_DB), arguments);
    process.write(input);
    process.closeWriteChannel();
    CliRun run;
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        run.error = QStringLiteral("orvane-db did not end within two minutes");
        return run;
    }
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.error = QString::fromUtf8(process.readAllStandardError());
    return run;
}
