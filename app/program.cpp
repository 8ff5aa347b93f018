#include "app/program.h"

#include "alert/alertsound.h"
#include "app/instanceguard.h"
#include "app/mainwindow.h"
#include "app/services.h"
#include "core/clock.h"
#include "notice/browserlauncher.h"
#include "notice/noticeclient.h"
#include "store/reminderstore.h"
#include "window/appwindow.h"
#include "window/dialogs.h"
#include "window/picture.h"
#include "window/screen.h"
#include "window/systemtraybackend.h"

#include <QApplication>

namespace {

// The desktop's real services, made once.
class DesktopServices : public Services
{
public:
    const Clock &clock() override { return m_clock; }
    Dialogs &dialogs() override { return m_dialogs; }
    const Screen &screen() override { return m_screen; }
    BrowserLauncher &browser() override { return m_browser; }
    std::unique_ptr<TrayBackend> makeTrayBackend() override { return std::make_unique<SystemTrayBackend>(); }
    std::unique_ptr<AlertSound> makeAlertSound() override { return std::make_unique<ModuleAlertSound>(); }
    std::unique_ptr<NoticeClient> makeNoticeClient() override { return std::make_unique<ModuleNoticeClient>(); }

private:
    SystemClock m_clock;
    QtDialogs m_dialogs;
    PrimaryScreen m_screen;
    DesktopBrowserLauncher m_browser;
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
    AppWindow appWindow(services.dialogs());
    // A later start asks for the program: it comes back from the tray or from being minimised, and its last
    // active window (the modal one when one is open) comes forward.
    QObject::connect(&guard, &InstanceGuard::restoreRequested, &appWindow, [&appWindow] {
        appWindow.requestRestore();
        appWindow.bringForward();
    });
    guard.listen();

    QApplication::setQuitOnLastWindowClosed(false); // the main window alone ends the program
    ReminderStore store;
    MainWindow mainWindow(store, appWindow, services);
    guarded(services.dialogs(), [&store] { store.open(); });

    mainWindow.show();
    // The program's icon, for the taskbar and the title bars, is set once the main window is on screen.
    QMetaObject::invokeMethod(
        qApp, [] { QApplication::setWindowIcon(loadIcon(QStringLiteral(":/assets/app.png"))); }, Qt::QueuedConnection);
    return QApplication::exec();
}
