#include "app/program.h"

#include "app/desktopservices.h"
#include "app/mainwindow.h"
#include "desktop/instanceguard.h"
#include "store/reminderstore.h"
#include "window/appwindow.h"
#include "window/picture.h"

#include <QApplication>

int runProgram(InstanceGuard &guard)
{
    if (guard.role() == InstanceGuard::Role::Later) {
        QObject::connect(&guard, &InstanceGuard::finished, qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        guard.askFirstInstanceToRestore();
        QApplication::exec();
        return 0;
    }

    DesktopServices services;
    AppWindow appWindow(services.dialogs());
    // A later start asks for the program: it comes back from the tray or from being minimised, and its last
    // active window (the modal one when one is open) comes forward.
    QObject::connect(&guard, &InstanceGuard::restoreRequested, &appWindow, &AppWindow::requestRestore);
    guard.listen();

    QApplication::setQuitOnLastWindowClosed(false); // the main window alone ends the program
    ReminderStore store;
    MainWindow mainWindow(store, appWindow, services);
    mainWindow.openStore();

    mainWindow.show();
    // The program's icon, for the taskbar and the title bars, is set once the main window is on screen.
    QMetaObject::invokeMethod(
        qApp, [] { QApplication::setWindowIcon(loadIcon(QStringLiteral(":/assets/app.png"))); }, Qt::QueuedConnection);
    return QApplication::exec();
}
