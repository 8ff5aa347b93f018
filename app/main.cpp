#include "app/instanceguard.h"
#include "app/program.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstdio>

namespace {

// Without a display QApplication aborts; say why in one line instead.
bool hasDisplay()
{
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY")
           || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// The windows place themselves at absolute screen positions, which Wayland does not give clients.
void preferX11()
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

} // namespace

int main(int argc, char *argv[])
{
    if (!hasDisplay()) {
        std::fprintf(stderr, "orvane-reminder: no graphical display (DISPLAY is not set); start it on a desktop\n");
        return 1;
    }
    preferX11();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("orvane-reminder"));
    QApplication::setApplicationVersion(QStringLiteral(ORVANE_VERSION));
    // The desktop finds the menu entry of the program's windows, and with it their name and icon, by this name.
    QApplication::setDesktopFileName(QStringLiteral("orvane-reminder"));
    // Standard buttons read 确定, as on the Chinese desktop the program is made for.
    QTranslator qtTranslation;
    if (qtTranslation.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslation);
    InstanceGuard guard;
    return runProgram(guard);
}
