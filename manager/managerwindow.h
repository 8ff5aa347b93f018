#pragma once

#include "manager/managercontext.h"
#include "manager/reminderlist.h"
#include "notice/noticelinks.h"

#include <QDialog>
#include <functional>
#include <memory>

class AlertSound;
class Dialogs;
class NoticeClient;
class PageTabs;
class ReminderStore;
class Screen;
class Services;

// The manager window: adds, modifies, deletes and browses reminders on five pages. The main window makes a
// fresh one for every opening (Qt::WA_DeleteOnClose) and opens it with open(), modal to the main window;
// an alert that falls due meanwhile opens above it. A notice fetch that is still running ends with the window.
class ManagerWindow : public QDialog
{
    Q_OBJECT

public:
    // `refreshAgenda` rebuilds today's agenda on the main window (it throws AppError when the store fails);
    // it runs after every change the manager makes, at the place the handlers give it. The window makes its
    // own player and notice client from `services`.
    ManagerWindow(ReminderStore &store, Services &services, std::function<void()> refreshAgenda,
                  QWidget *parent = nullptr);
    ~ManagerWindow() override;

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void addHotAreas();
    void addPages();
    void pageShown(int index);
    void playSound();
    void reportFetchFailure(const QString &message);
    void setBusy(bool busy);

    Dialogs &m_dialogs;
    const Screen &m_screen;
    std::unique_ptr<AlertSound> m_sound;
    std::unique_ptr<NoticeClient> m_noticeClient;
    NoticeLinks m_noticeLinks; // ends its fetch before the client goes
    ReminderList m_list;
    ManagerContext m_context;
    PageTabs *m_pages = nullptr;
    bool m_placed = false;
    bool m_fetchFailureReported = false;
};
