// The notification module: desktop notifications on the session bus, loaded at the first notification.
#include "alert/notify/dbusnotifier.h"

extern "C" Q_DECL_EXPORT DesktopNotifier *orvaneCreateDesktopNotifier()
{
    return new DBusNotifier(QDBusConnection::sessionBus());
}
