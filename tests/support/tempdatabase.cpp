#include "tests/support/tempdatabase.h"

#include <QProcess>
#include <QTest>

TempDatabase::TempDatabase()
{
    QProcess tool;
    // ORVANE_DB in the environment names a copy, for a test that runs as another user.
    tool.start(qEnvironmentVariable("ORVANE_DB", QStringLiteral(ORVANE_DB)),
               {QStringLiteral("--file"), path(), QStringLiteral("init")});
    if (!tool.waitForFinished(30000) || tool.exitCode() != 0)
        qFatal("could not create the starter database: %s", tool.readAllStandardError().constData());
}

QString TempDatabase::sql(const QString &statements) const
{
    QProcess shell;
    shell.start(QStringLiteral("sqlite3"), {path(), statements});
    shell.waitForFinished(30000);
    if (shell.exitCode() != 0)
        qWarning("sqlite3: %s", shell.readAllStandardError().constData());
    return QString::fromUtf8(shell.readAllStandardOutput()).trimmed();
}
