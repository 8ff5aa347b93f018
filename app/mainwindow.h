#pragma once

#include "desktop/autostart.h"
#include "store/reminder.h"
#include "window/dialogs.h"

#include <QDate>
#include <QList>
#include <QWidget>
#include <memory>

class AgendaView;
class AlertWindow;
class DesktopNotifier;
class AppWindow;
class QAction;
class QFrame;
class QLabel;
class QMenu;
class QWindow;
class ReminderStore;
class ReminderWatch;
class Services;
class TrayIcon;

// The main window: the shaped window at the top right of the screen with today's agenda scrolling through
// its panel. It carries the program's two timers (the scrolling, and the reminder watch every 30 seconds)
// and its commands: the settings, exit and about areas painted on the dial, the introduction link, the
// right-click menu and the tray icon.
class MainWindow : public QWidget
{
    Q_OBJECT

public:
    MainWindow(ReminderStore &store, AppWindow &appWindow, Services &services, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Opens the store at start-up; a failure is reported as the store's failures are, one box at a time.
    void openStore();
    // Rebuilds today's agenda from the store; throws AppError when the store fails (the agenda then keeps
    // its text). The manager runs it after each change it makes.
    void refreshAgenda();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void placeAtTopRight();
    // Refreshes the agenda, a failure shown in the error box.
    void showAgenda();
    void scrollAgenda();
    void checkDueReminders();
    // Rebuilds the agenda when the day has changed or another program has changed the store.
    void refreshAgendaIfStale();
    void queueAlerts(const QList<Reminder> &reminders);
    void makeAlertWindow();
    void showNextAlert();
    // A failure of the store that the program met on its own: the box that reported it (if one was shown) is
    // not a window to come back from.
    void reportedStoreFailure();
    void openManager();
    void toggleHidden();
    void trayClicked();
    void createTrayIcon();
    void noteActiveWindow(QWindow *window);

    ReminderStore &m_store;
    AppWindow &m_appWindow;
    Services &m_services;
    Dialogs &m_dialogs;
    QFrame *m_agendaPanel = nullptr;
    AgendaView *m_agenda = nullptr;
    QLabel *m_introductionLink = nullptr;
    QMenu *m_menu = nullptr;
    QAction *m_autostartAction = nullptr;
    Autostart m_autostart;
    TrayIcon *m_trayIcon = nullptr;
    ReminderWatch *m_watch = nullptr;
    LoneErrorBox m_storeErrors;
    std::unique_ptr<AlertWindow> m_alert;        // made when a reminder first falls due
    std::unique_ptr<DesktopNotifier> m_notifier; // made with the alert window
    QList<Reminder> m_pendingAlerts;             // fell due while another alert was open
    QDate m_agendaDay;                           // the day the agenda shows
    qint64 m_agendaVersion = -1;                 // the store's data version when it was read
    bool m_shown = false;
    // Another window of the program was active since this one last was: coming back from it refreshes
    // the agenda, coming back from another program does not.
    bool m_ownWindowWasActive = false;
    bool m_showingAgenda = false;
};
