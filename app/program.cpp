#include "app/program.h"

#include "alert/desktopnotifier.h"
#include "app/desktopservices.h"
#include "app/mainwindow.h"
#include "desktop/instanceguard.h"
#include "desktop/sleepwatch.h"
#include "reminders/reminders.h"
#include "store/reminderstore.h"
#include "window/picture.h"
#include "window/programwindows.h"

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
    ProgramWindows programWindows(services.dialogs());
    // A later start asks for the program: it comes back from the tray or from being minimised, and its last
    // active window (the modal one when one is open) comes forward.
    QObject::connect(&guard, &InstanceGuard::restoreRequested, &programWindows, &ProgramWindows::requestRestore);
    guard.listen();

    QApplication::setQuitOnLastWindowClosed(false); // the main window alone ends the program
    ReminderStore store;
    Reminders reminders(store, services.clock(), services.makeNotifier());
    MainWindow mainWindow(store, reminders, programWindows, services);
    mainWindow.openStore();

    mainWindow.show();
    // The connection to the system bus that tells of a wake from sleep is made once the window is on its way
    // to the screen, so as not to delay it; a wake looks at once for the minutes that passed asleep.
    QMetaObject::invokeMethod(
        qApp,
        [&reminders] {
            QObject::connect(new SleepWatch(&reminders), &SleepWatch::resumed, &reminders, &Reminders::checkNow);
        },
        Qt::QueuedConnection);
    // The program's icon, for the taskbar and the title bars, is set once the main window is on screen.
    QMetaObject::invokeMethod(
        qApp, [] { QApplication::setWindowIcon(loadIcon(QStringLiteral(":/assets/app.png"))); }, Qt::QueuedConnection);
    return QApplication::exec();
}
