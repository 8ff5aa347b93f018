#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

// A notification service of the test's own (org.freedesktop.Notifications) on the session bus, on a
// connection of its own: it records every notification it is asked to show, tells the capabilities it
// was given, and sends the signals that a real one sends when the user acts on a notification.
class RecordingNotificationService : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    struct Notification
    {
        uint id = 0;
        QString appName;
        uint replacesId = 0;
        QString icon;
        QString summary;
        QString body;
        QStringList actions;
        QVariantMap hints;
        int expireTimeout = 0;
    };

    explicit RecordingNotificationService(const QStringList &capabilities = {QStringLiteral("actions"),
                                                                             QStringLiteral("body")});
    ~RecordingNotificationService() override;

    // Whether it owns the service's name on the bus.
    bool isRegistered() const { return m_registered; }
    // Also appends each notification to this file, as a line of JSON, for a test outside the process.
    void setJournal(const QString &path) { m_journal = path; }

    // The user picking an action of a notification, and closing one.
    void invokeAction(uint id, const QString &action) { emit ActionInvoked(id, action); }
    void close(uint id) { emit NotificationClosed(id, 2); }

    QList<Notification> notifications;

public slots: // the service's methods
    Q_SCRIPTABLE QStringList GetCapabilities() const { return m_capabilities; }
    Q_SCRIPTABLE uint Notify(const QString &appName, uint replacesId, const QString &icon, const QString &summary,
                             const QString &body, const QStringList &actions, const QVariantMap &hints,
                             int expireTimeout);
    Q_SCRIPTABLE void CloseNotification(uint id) { close(id); }
    Q_SCRIPTABLE QString GetServerInformation(QString &vendor, QString &version, QString &specVersion) const;

signals:
    Q_SCRIPTABLE void ActionInvoked(uint id, const QString &actionKey);
    Q_SCRIPTABLE void NotificationClosed(uint id, uint reason);

private:
    QStringList m_capabilities;
    QString m_connectionName;
    QDBusConnection m_bus;
    bool m_registered = false;
    QString m_journal;
};
