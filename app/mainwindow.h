#pragma once

#include "desktop/autostart.h"
#include "store/reminder.h"
#include "window/dialogs.h"

#include <QWidget>
#include <memory>

class AgendaView;
class AlertWindow;
class ProgramWindows;
class QAction;
class QFrame;
class QMenu;
class QWindow;
class Reminders;
class ReminderStore;
class Services;
class TrayIcon;

// The main window: the shaped window at the top right of the screen with today's agenda scrolling through
// its panel, and its commands: the settings, exit and about areas painted on the dial, the introduction
// link, the right-click menu and the tray icon. It shows what the program's reminders tell: their alerts,
// the agenda when it changed, and the store's failures.
class MainWindow : public QWidget
{
    Q_OBJECT

public:
    MainWindow(ReminderStore &store, Reminders &reminders, ProgramWindows &programWindows, Services &services,
               QWidget *parent = nullptr);
    ~MainWindow() override;

    // Opens the store at start-up; a failure is reported as the store's failures are, one box at a time,
    // and this returns once that box is closed, so that it comes before the windows.
    void openStore();
    // Rebuilds today's agenda from the store; throws AppError when the store fails (the agenda then keeps
    // its text). The manager runs it after each change it makes.
    void refreshAgenda();
    void updateTrayToolTip();

signals:
    // 同步设置… in the menu (the main window's or the tray's).
    void syncSetupRequested();
    // The manager added, changed or deleted reminders.
    void remindersEdited();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void placeAtTopRight();
    // Refreshes the agenda, a failure shown in the error box.
    void showAgenda();
    void scrollAgenda();
    void showAlert(const Reminder &reminder);
    void makeAlertWindow();
    void reportStoreFailure(const QString &message);
    // After a failure of the store that the program met on its own: the box that reports it is not a
    // window to come back from.
    void forgetOwnWindowActivity();
    void openManager();
    void toggleHidden();
    void trayClicked();
    void createTrayIcon();
    void noteActiveWindow(QWindow *window);

    ReminderStore &m_store;
    Reminders &m_reminders;
    ProgramWindows &m_programWindows;
    Services &m_services;
    Dialogs &m_dialogs;
    QFrame *m_agendaPanel = nullptr;
    AgendaView *m_agenda = nullptr;
    QMenu *m_menu = nullptr;
    QAction *m_autostartAction = nullptr;
    Autostart m_autostart;
    TrayIcon *m_trayIcon = nullptr;
    QList<Reminder> m_today; // the agenda's reminders, for the tray icon's tooltip
    LoneErrorBox m_storeErrors;
    std::unique_ptr<AlertWindow> m_alert; // made when a reminder first falls due
    bool m_shown = false;
    // Another window of the program was active since this one last was: coming back from it refreshes
    // the agenda, coming back from another program does not.
    bool m_ownWindowWasActive = false;
};
