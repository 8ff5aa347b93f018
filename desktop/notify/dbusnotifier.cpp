#include "desktop/notify/dbusnotifier.h"

#include "core/text.h"
#include "store/reminder.h"
#include "store/textformats.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QVariantMap>

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
const QString kDefaultAction = QStringLiteral("default"); // what a click on the notification invokes
const QString kSnoozeAction = QStringLiteral("snooze");
constexpr int kSnoozeMinutes = 10;
constexpr uchar kCriticalUrgency = 2;

// The body of the notification of `reminder` (its summary is the subject): the time as the alert window
// shows it, a line feed, and the content.
QString notificationBody(const Reminder &reminder)
{
    const QString time = reminder.due.isValid() ? regionalDateTimeText(reminder.due) : QString();
    return time + QLatin1Char('\n') + withLineFeeds(reminder.content);
}

QDBusMessage serviceCall(const QString &method)
{
    return QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
}

} // namespace

DBusNotifier::DBusNotifier(const QDBusConnection &bus, QObject *parent)
    : DesktopNotifier(parent)
    , m_bus(bus)
{
}

void DBusNotifier::notify(const Reminder &reminder)
{
    if (!m_bus.isConnected())
        return;
    if (!m_listening) {
        // Any sender: naming the service would make Qt ask the bus for its owner and wait for the answer.
        m_bus.connect(QString(), kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                      SLOT(actionInvoked(uint, QString)));
        m_bus.connect(QString(), kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                      SLOT(notificationClosed(uint, uint)));
        // A service that restarts numbers its notifications anew: the ids of the one before would match
        // other programs' notifications.
        auto *owner = new QDBusServiceWatcher(kService, m_bus, QDBusServiceWatcher::WatchForOwnerChange, this);
        connect(owner, &QDBusServiceWatcher::serviceOwnerChanged, this, [this] { m_shown.clear(); });
        m_listening = true;
    }
    const QString body = notificationBody(reminder);
    auto *capabilities =
        new QDBusPendingCallWatcher(m_bus.asyncCall(serviceCall(QStringLiteral("GetCapabilities"))), this);
    connect(capabilities, &QDBusPendingCallWatcher::finished, this,
            [this, reminder, body](QDBusPendingCallWatcher *call) {
                call->deleteLater();
                const QDBusPendingReply<QStringList> reply = *call;
                if (reply.isError())
                    return; // no notification service on this desktop
                // A service that reads markup in the body would take a reminder's "<" or "&" for markup.
                send(reminder, reply.value().contains(QLatin1String("body-markup")) ? body.toHtmlEscaped() : body);
            });
}

void DBusNotifier::send(const Reminder &reminder, const QString &body)
{
    QDBusMessage call = serviceCall(QStringLiteral("Notify"));
    const QVariantMap hints{
        {QStringLiteral("urgency"), QVariant::fromValue(kCriticalUrgency)},
        {QStringLiteral("desktop-entry"), QStringLiteral("orvane-reminder")},
    };
    call << tr("Orvane日程提醒") << uint(0) << QStringLiteral("orvane-reminder") << reminder.subject << body
         << QStringList{kDefaultAction, tr("显示提醒"), kSnoozeAction, tr("稍后提醒（10 分钟）")} << hints << -1;
    auto *shown = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(shown, &QDBusPendingCallWatcher::finished, this, [this, reminder](QDBusPendingCallWatcher *reply) {
        reply->deleteLater();
        const QDBusPendingReply<uint> id = *reply;
        if (!id.isError())
            m_shown.insert(id.value(), reminder);
    });
}

void DBusNotifier::actionInvoked(uint id, const QString &action)
{
    const auto shown = m_shown.find(id);
    if (shown == m_shown.end())
        return;
    if (action == kDefaultAction) {
        emit activated();
    } else if (action == kSnoozeAction) {
        // Once: a service that keeps the notification after the action must not put it off twice.
        const Reminder reminder = *shown;
        m_shown.erase(shown);
        emit snoozeRequested(reminder, kSnoozeMinutes);
    }
}

void DBusNotifier::notificationClosed(uint id, uint)
{
    m_shown.remove(id);
}
