#pragma once

#include <QString>
#include <QStringList>

struct Console;

// orvane-db's exit statuses.
enum ExitStatus {
    ExitDone = 0,
    ExitBadInput = 1,      // a wrong argument or an unusable input file; the message names it
    ExitStoreFailure = 2,  // the database file could not be read or changed
    ExitServerFailure = 3, // sync: the server could not be reached or failed; trying later may do
    ExitServerRefused = 4, // sync: wrong user or password, no calendar at the address, an untrusted certificate
};

// Runs orvane-db with `arguments` (the program's name first) and returns its exit status. Never throws:
// every failure is one message on the console's error stream.
int runCommandLine(const QStringList &arguments, Console &console);

// The file orvane-db works on without --file: data.mdb in the current directory when there is one (where
// the program runs), else the per-user one, $XDG_DATA_HOME/orvane-reminder/data.mdb.
QString defaultStorePath();

// The help text of --help.
QString usageText();
// The bash completion script, of the same commands and options as the help.
QString bashCompletion();
