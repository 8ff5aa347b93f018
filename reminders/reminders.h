#pragma once

#include "reminders/watchthread.h"
#include "store/reminder.h"
#include "store/snoozerecord.h"

#include <QDate>
#include <QList>
#include <QObject>
#include <memory>

class Clock;
class DesktopNotifier;
class ReminderStore;

// The program's reminders as time passes: a look in the store every 30 seconds (the timer "watchTimer"),
// and at once on checkNow(), each on the watch's own thread; an alert for each reminder that falls due or comes again
// after it was put off, each in turn, earliest first; and a desktop notification for each as it falls due, also while
// its alert waits or the program is in the tray. It shows nothing itself: the windows show what its signals tell, and
// tell it when an alert has closed.
class Reminders : public QObject
{
    Q_OBJECT

public:
    // The watch starts at once, on the file of `store`; the clock is the program's (it must be safe to read from
    // another thread); the notifier is the program's.
    Reminders(ReminderStore &store, const Clock &clock, std::unique_ptr<DesktopNotifier> notifier,
              QObject *parent = nullptr);
    ~Reminders() override;

public slots:
    // One look soon, as at a tick, after those asked for before: the minutes since the last look are caught up
    // (after a wake from sleep, say).
    void checkNow();
    // The alert that showAlert() asked for was closed: the next waiting reminder's alert follows.
    void alertClosed();
    // Puts `reminder` off: it alerts again, with its subject and content as they are now, `minutes` from now,
    // also after a restart or a sleep (it is kept in the file, apart from its row, which it leaves as it is).
    void snooze(const Reminder &reminder, int minutes);

signals:
    // A reminder's alert is to be shown; alertClosed() tells when it is closed. One at a time.
    void showAlert(const Reminder &reminder);
    // The day changed, another program changed the store, or a reminder was put off or came again after it:
    // today's agenda is to be read again.
    void agendaChanged();
    // A look failed (the same minutes are looked at again at the next one), or a snooze could not be kept.
    void storeFailed(const QString &message);
    // The user picked a reminder's notification: the alert is to come forward, from the tray too.
    void alertRequested();
    // The open alert's reminder was put off from its notification: the alert is to close, as by 返回.
    void alertWithdrawn();
    // A look ended: what it raised is queued, or its failure told.
    void looked();

private:
    void lookEnded(const QString &failure);
    void afterLook();
    void queue(const QList<Reminder> &due);
    void showNext();
    void raiseSnoozed();
    void snoozeFromNotification(const Reminder &reminder, int minutes);

    ReminderStore &m_store;
    const Clock &m_clock;
    WatchThread m_watch;
    SnoozeRecord m_snoozes;
    std::unique_ptr<DesktopNotifier> m_notifier;
    QList<Reminder> m_waiting; // fell due while another alert was open
    bool m_alertOpen = false;
    Reminder m_showing;          // the open alert's
    QDate m_agendaDay;           // the day of the last look
    qint64 m_agendaVersion = -1; // the store's data version at the last look
};
