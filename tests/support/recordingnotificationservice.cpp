#include "tests/support/recordingnotificationservice.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");

QString newConnectionName()
{
    static int made = 0;
    return QStringLiteral("recording-notification-service-%1").arg(++made);
}

} // namespace

RecordingNotificationService::RecordingNotificationService(const QStringList &capabilities)
    : m_capabilities(capabilities)
    , m_connectionName(newConnectionName())
    , m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, m_connectionName))
{
    m_registered =
        m_bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), this,
                             QDBusConnection::ExportScriptableSlots | QDBusConnection::ExportScriptableSignals)
        && m_bus.registerService(kService);
}

RecordingNotificationService::~RecordingNotificationService()
{
    m_bus.unregisterService(kService);
    m_bus.unregisterObject(QStringLiteral("/org/freedesktop/Notifications"));
    QDBusConnection::disconnectFromBus(m_connectionName);
}

uint RecordingNotificationService::Notify(const QString &appName, uint replacesId, const QString &icon,
                                          const QString &summary, const QString &body, const QStringList &actions,
                                          const QVariantMap &hints, int expireTimeout)
{
    const Notification notification{
        uint(notifications.size() + 1), appName, replacesId, icon, summary, body, actions, hints, expireTimeout};
    notifications << notification;
    QFile journal(m_journal);
    if (!m_journal.isEmpty() && journal.open(QIODevice::Append)) {
        const QJsonObject line{
            {QStringLiteral("appName"), appName},
            {QStringLiteral("icon"), icon},
            {QStringLiteral("summary"), summary},
            {QStringLiteral("body"), body},
            {QStringLiteral("actions"), QJsonArray::fromStringList(actions)},
            {QStringLiteral("urgency"), hints.value(QStringLiteral("urgency")).toInt()},
        };
        journal.write(QJsonDocument(line).toJson(QJsonDocument::Compact) + '\n');
    }
    return notification.id;
}

QString RecordingNotificationService::GetServerInformation(QString &vendor, QString &version,
                                                           QString &specVersion) const
{
    vendor = QStringLiteral("tests");
    version = QStringLiteral("1");
    specVersion = QStringLiteral("1.2");
    return QStringLiteral("recording-notification-service");
}
