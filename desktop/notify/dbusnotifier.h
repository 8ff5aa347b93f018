#pragma once

#include "alert/desktopnotifier.h"

#include <QDBusConnection>
#include <QHash>

// Desktop notifications through the freedesktop notification service (org.freedesktop.Notifications) on
// a D-Bus connection, the session bus in the program. Each notification asks the service what it can do
// first, so that the body is escaped for a service that reads markup; every call is asynchronous. A bus
// without the service answers with an error, which ends that notification without a word.
class DBusNotifier : public DesktopNotifier
{
    Q_OBJECT

public:
    explicit DBusNotifier(const QDBusConnection &bus, QObject *parent = nullptr);

    void notify(const Reminder &reminder) override;

private slots:
    // The service's signals, which it sends for the notifications of every program.
    void actionInvoked(uint id, const QString &action);
    void notificationClosed(uint id, uint reason);

private:
    void send(const Reminder &reminder, const QString &body);

    QDBusConnection m_bus;
    bool m_listening = false;
    // This notifier's notifications that the service still shows, with their reminders; forgotten when the
    // service's owner changes.
    QHash<uint, Reminder> m_shown;
};
