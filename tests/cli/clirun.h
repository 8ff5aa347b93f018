#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

class TempDatabase;

// What one run of orvane-db gave.
struct CliRun
{
    int status = -1; // -1 when the process crashed or did not end
    QString out;
    QString error;
};

// Runs orvane-db's commands in this process at FakeClock's time (2026-03-04 08:30:15), `input` on its
// standard input.
CliRun runInProcess(const QStringList &arguments, const QByteArray &input = {});
// The same on the file of `db`.
CliRun runInProcess(const TempDatabase &db, const QStringList &arguments, const QByteArray &input = {});
// Runs the built executable, as a shell does, with `environment` (this process's when empty).
CliRun runExecutable(const QStringList &arguments, const QByteArray &input = {},
                     const QProcessEnvironment &environment = {});
