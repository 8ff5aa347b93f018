#include "desktop/sleepwatch.h"

#include <QDBusConnection>

SleepWatch::SleepWatch(QObject *parent)
    : QObject(parent)
{
    QDBusConnection::systemBus().connect(QStringLiteral("org.freedesktop.login1"),
                                         QStringLiteral("/org/freedesktop/login1"),
                                         QStringLiteral("org.freedesktop.login1.Manager"),
                                         QStringLiteral("PrepareForSleep"), this, SLOT(prepareForSleep(bool)));
}

void SleepWatch::prepareForSleep(bool sleeping)
{
    if (!sleeping)
        emit resumed();
}
