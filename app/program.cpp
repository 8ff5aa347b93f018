#include "app/program.h"

#include "alert/desktopnotifier.h"
#include "app/desktopservices.h"
#include "app/mainwindow.h"
#include "core/module.h"
#include "desktop/instanceguard.h"
#include "desktop/sleepwatch.h"
#include "reminders/reminders.h"
#include "store/connection.h"
#include "store/reminderstore.h"
#include "sync/syncservice.h"
#include "window/dialogs.h"
#include "window/picture.h"
#include "window/programwindows.h"

#include <QApplication>
#include <QFileInfo>
#include <memory>

namespace {

// The sync as the program has it. Its module is loaded once the main window is on screen when an account is
// saved, else at the first 同步设置…, so that a program that does not sync never loads it. The background sync
// follows the manager's changes and wakes from sleep; what it brings in is looked at at once, so that the
// agenda shows it and a reminder due now alerts; its failures and conflicts, and a saved account that cannot
// be read at start, are told one box at a time, as is a module that cannot be loaded.
class ProgramSync
{
public:
    ProgramSync(const QString &storePath, const Clock &clock, Reminders &reminders, MainWindow &mainWindow,
                Dialogs &dialogs)
        : m_storePath(storePath)
        , m_clock(clock)
        , m_reminders(reminders)
        , m_mainWindow(mainWindow)
        , m_notices(dialogs)
    {
        QObject::connect(&mainWindow, &MainWindow::syncSetupRequested, &m_notices, [this] {
            if (SyncService *sync = service())
                sync->showSetup(&m_mainWindow);
        });
        QObject::connect(&mainWindow, &MainWindow::remindersEdited, &m_notices, [this] {
            if (m_service)
                m_service->localChange();
        });
    }

    void startIfAccountSaved()
    {
        if (QFileInfo::exists(syncSettingsFile()))
            service();
    }

    void resume()
    {
        if (m_service)
            m_service->resume();
    }

private:
    SyncService *service()
    {
        if (m_service)
            return m_service.get();
        QString error;
        auto *module = moduleInterface<SyncServiceModule>(QStringLiteral("orvane-sync"), &error);
        if (!module) {
            m_notices.report(QCoreApplication::translate("SyncService", "无法载入同步模块：") + error);
            return nullptr;
        }
        m_service.reset(module->createSyncService(m_storePath, m_clock, nullptr));
        QObject::connect(m_service.get(), &SyncService::synced, &m_reminders, &Reminders::checkNow);
        QObject::connect(m_service.get(), &SyncService::notice, &m_notices, &LoneErrorBox::report);
        return m_service.get();
    }

    QString m_storePath;
    const Clock &m_clock;
    Reminders &m_reminders;
    MainWindow &m_mainWindow;
    LoneErrorBox m_notices;
    std::unique_ptr<SyncService> m_service;
};

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
    MainWindow mainWindow(store, reminders, programWindows, services);
    mainWindow.openStore();
    ProgramSync sync(store.connection().path(), services.clock(), reminders, mainWindow, services.dialogs());

    mainWindow.show();
    // The connection to the system bus that tells of a wake from sleep, and the sync with its libraries, come
    // once the window is on its way to the screen, so as not to delay it; a wake looks at once for the
    // minutes that passed asleep, and syncs.
    QMetaObject::invokeMethod(
        qApp,
        [&reminders, &sync] {
            auto *sleepWatch = new SleepWatch(&reminders);
            QObject::connect(sleepWatch, &SleepWatch::resumed, &reminders, &Reminders::checkNow);
            QObject::connect(sleepWatch, &SleepWatch::resumed, &reminders, [&sync] { sync.resume(); });
            sync.startIfAccountSaved();
        },
        Qt::QueuedConnection);
    // The program's icon, for the taskbar and the title bars, is set once the main window is on screen.
    QMetaObject::invokeMethod(
        qApp, [] { QApplication::setWindowIcon(loadIcon(QStringLiteral(":/assets/app.png"))); }, Qt::QueuedConnection);
    return QApplication::exec();
}
