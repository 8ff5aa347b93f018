// The notification module: desktop notifications on the session bus, loaded at the first notification.
#include "desktop/notify/dbusnotifier.h"

class NotifyModule : public QObject, public DesktopNotifierModule
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID DesktopNotifierModule_iid)
    Q_INTERFACES(DesktopNotifierModule)

public:
    DesktopNotifier *createDesktopNotifier(QObject *parent) override
    {
        return new DBusNotifier(QDBusConnection::sessionBus(), parent);
    }
};

#include "module.moc"
