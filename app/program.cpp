#include "app/program.h"

#include "app/instanceguard.h"
#include "app/mainwindow.h"
#include "core/clock.h"
#include "store/datamodule.h"
#include "window/appwindow.h"
#include "window/dialogs.h"
#include "window/picture.h"
#include "window/qttraybackend.h"
#include "window/screeninfo.h"

#include <QApplication>
#include <QTimer>

int runProgram()
{
    QtDialogs dialogs;
    AppWindow appWindow(dialogs);
    // A later start of the program sends "restore": the program comes back from the tray or from being
    // minimised, and its last active window (the modal one when one is open) comes forward.
    const auto restore = [&appWindow] {
        appWindow.systemCommand(SC_RESTORE);
        appWindow.bringForward();
    };
    if (CheckPreviousInstance(restore))
        return 0;

    QApplication::setQuitOnLastWindowClosed(false); // the main window alone ends the program
    SystemClock clock;
    QtScreenInfo screen;
    Tdm dm;
    TForm1 Form1(dm, dialogs, clock, appWindow, screen, [] { return std::make_unique<QtTrayBackend>(); });
    guarded(dialogs, [&dm] { dm.conn.open(); });

    Form1.show();
    // The program's icon, for the taskbar and the title bars, is set once the main window is on screen.
    QTimer::singleShot(0, [] { QApplication::setWindowIcon(loadIcon(QStringLiteral(":/assets/app.png"))); });
    return QApplication::exec();
}
