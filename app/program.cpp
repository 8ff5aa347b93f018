#include "app/program.h"

#include "alert/desktopnotifier.h"
#include "app/desktopservices.h"
#include "app/mainwindow.h"
#include "desktop/instanceguard.h"
#include "desktop/sleepwatch.h"
#include "reminders/reminders.h"
#include "store/reminderstore.h"
#include "sync/syncscheduler.h"
#include "sync/syncsettings.h"
#include "syncsetup/syncsetupdialog.h"
#include "window/dialogs.h"
#include "window/picture.h"
#include "window/programwindows.h"

#include <QApplication>
#include <QPointer>

namespace {

// The background sync follows the manager's changes; what it brings in is looked at at once, so that the agenda
// shows it and a reminder due now alerts; its failures and conflicts, and a saved account that cannot be read
// at start, are told one box at a time. It syncs once it is given an account, and not before.
void connectSync(SyncScheduler &scheduler, Reminders &reminders, MainWindow &mainWindow, Dialogs &dialogs)
{
    auto *notices = new LoneErrorBox(dialogs, &scheduler);
    QObject::connect(&mainWindow, &MainWindow::remindersEdited, &scheduler, &SyncScheduler::localChange);
    QObject::connect(&scheduler, &SyncScheduler::synced, &reminders, [&reminders, notices](const SyncSummary &summary) {
        reminders.checkNow();
        if (const QString conflicts = SyncScheduler::conflictNotice(summary); !conflicts.isEmpty())
            notices->report(conflicts);
    });
    QObject::connect(&scheduler, &SyncScheduler::trouble, notices, &LoneErrorBox::report);
}

} // namespace

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
    SyncSettings syncSettings;
    MainWindow mainWindow(store, reminders, programWindows, services);
    mainWindow.openStore();
    // One sync set-up window: asking again brings it forward.
    QPointer<SyncSetupDialog> syncSetup;
    QObject::connect(&mainWindow, &MainWindow::syncSetupRequested, &mainWindow, [&] {
        if (!syncSetup) {
            syncSetup = new SyncSetupDialog(syncSettings, &mainWindow);
            syncSetup->setAttribute(Qt::WA_DeleteOnClose);
            syncSetup->open();
        }
        syncSetup->raise();
        syncSetup->activateWindow();
    });
    SyncScheduler syncScheduler(store, services.clock());
    connectSync(syncScheduler, reminders, mainWindow, services.dialogs());
    syncScheduler.followSettings(syncSettings);

    mainWindow.show();
    // The connection to the system bus that tells of a wake from sleep is made once the window is on its way
    // to the screen, so as not to delay it; a wake looks at once for the minutes that passed asleep, and syncs.
    QMetaObject::invokeMethod(
        qApp,
        [&reminders, &syncScheduler] {
            auto *sleepWatch = new SleepWatch(&reminders);
            QObject::connect(sleepWatch, &SleepWatch::resumed, &reminders, &Reminders::checkNow);
            QObject::connect(sleepWatch, &SleepWatch::resumed, &syncScheduler, &SyncScheduler::resume);
        },
        Qt::QueuedConnection);
    // The program's icon, for the taskbar and the title bars, is set once the main window is on screen.
    QMetaObject::invokeMethod(
        qApp, [] { QApplication::setWindowIcon(loadIcon(QStringLiteral(":/assets/app.png"))); }, Qt::QueuedConnection);
    return QApplication::exec();
}
