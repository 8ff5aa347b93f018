// orvane-db: the reminder database from the command line.

#include "cli/commandline.h"
#include "cli/console.h"
#include "core/clock.h"

#include <QCoreApplication>
#include <QFile>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QFile in;
    QFile out;
    QFile err;
    in.open(stdin, QIODevice::ReadOnly);
    out.open(stdout, QIODevice::WriteOnly);
    err.open(stderr, QIODevice::WriteOnly | QIODevice::Unbuffered);
    QTextStream text(&out);
    QTextStream error(&err);
    const SystemClock clock;
    Console console{in, out, text, error, clock};
    const int status = runCommandLine(application.arguments(), console);
    out.flush();
    return status;
}
