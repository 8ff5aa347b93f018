// orvane-db: the reminder database from the command line.

#include "cli/commandline.h"
#include "cli/console.h"
#include "core/clock.h"
#include "core/language.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocale>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    // The messages of the reminder database follow the desktop's language; orvane-db's own stay English.
    QTranslator translation;
    if (loadTranslation(translation, textLanguage(QLocale::system().uiLanguages())))
        QCoreApplication::installTranslator(&translation);
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
