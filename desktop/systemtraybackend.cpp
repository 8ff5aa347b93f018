#include "desktop/systemtraybackend.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QMenu>
#include <QSystemTrayIcon>

#include <xcb/xcb.h>

#include <cstdlib>

namespace {

const QString kWatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kWatcherPath = QStringLiteral("/StatusNotifierWatcher");
const QString kHostRegistered = QStringLiteral("StatusNotifierHostRegistered");
// An XEmbed tray that starts later tells only those listening on the root window; asking now and then,
// only while there is no tray at all, is simpler.
constexpr int kXEmbedCheckInterval = 2000;
constexpr int kWatcherTimeout = 2000;

bool statusNotifierHostRegistered()
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        kWatcherService, kWatcherPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    call << kWatcherService << QStringLiteral("IsStatusNotifierHostRegistered");
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, kWatcherTimeout);
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()
           && reply.arguments().constFirst().value<QDBusVariant>().variant().toBool();
}

// Whether the X display has a tray: an owner of the _NET_SYSTEM_TRAY_S0 selection (the first screen, the
// one Qt puts its icon on).
bool xembedTrayPresent()
{
    // The offscreen platform answers as an X11 application too, without a connection.
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return false;
    static const QByteArray name = QByteArrayLiteral("_NET_SYSTEM_TRAY_S0");
    xcb_intern_atom_reply_t *atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, uint16_t(name.size()), name.constData()), nullptr);
    if (!atom)
        return false;
    xcb_get_selection_owner_reply_t *owner =
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, atom->atom), nullptr);
    const bool present = owner && owner->owner != XCB_NONE;
    std::free(owner);
    std::free(atom);
    return present;
}

} // namespace

SystemTrayBackend::SystemTrayBackend()
    : m_watcher(new QDBusServiceWatcher(kWatcherService, QDBusConnection::sessionBus(),
                                        QDBusServiceWatcher::WatchForRegistration, this))
{
    m_xembedCheck.setInterval(kXEmbedCheckInterval);
    connect(&m_xembedCheck, &QTimer::timeout, this, &SystemTrayBackend::lookForTray);
    // A watcher may come without a host and report the host later.
    connect(m_watcher, &QDBusServiceWatcher::serviceRegistered, this, &SystemTrayBackend::lookForTray);
    connectToWatcher(true);
    lookForTray();
}

void SystemTrayBackend::connectToWatcher(bool connected)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (connected)
        bus.connect(kWatcherService, kWatcherPath, kWatcherService, kHostRegistered, this, SLOT(lookForTray()));
    else
        bus.disconnect(kWatcherService, kWatcherPath, kWatcherService, kHostRegistered, this, SLOT(lookForTray()));
}

void SystemTrayBackend::lookForTray()
{
    if (m_icon)
        return;
    if (statusNotifierHostRegistered())
        makeIcon(true);
    else if (xembedTrayPresent())
        makeIcon(false);
    else
        m_xembedCheck.start();
}

// Once made, Qt's icon follows its tray by itself (a panel started again), so the watching ends.
void SystemTrayBackend::makeIcon(bool statusNotifierHost)
{
    m_xembedCheck.stop();
    m_watcher->setWatchedServices({});
    connectToWatcher(false);
    m_statusNotifierHost = statusNotifierHost;
    m_icon = new QSystemTrayIcon(this);
    connect(m_icon, &QSystemTrayIcon::activated, this, &TrayBackend::activated);
    setMenu(m_menu);
    m_icon->setToolTip(m_toolTip);
    setIcon(m_picture);
}

bool SystemTrayBackend::show(const QIcon &icon)
{
    m_shown = true;
    setIcon(icon);
    return true;
}

// Qt shows no icon without a picture (and warns); an icon shown before its picture comes with it.
void SystemTrayBackend::setIcon(const QIcon &icon)
{
    m_picture = icon;
    if (!m_icon)
        return;
    m_icon->setIcon(icon);
    if (m_shown && !m_icon->isVisible() && !icon.isNull())
        m_icon->show();
}

bool SystemTrayBackend::hide()
{
    if (!m_shown)
        return false;
    m_shown = false;
    if (m_icon)
        m_icon->hide();
    return true;
}

// Asked only once the icon is made: before, asking Qt would fix its answer for good.
bool SystemTrayBackend::isTrayAvailable() const
{
    return m_icon && QSystemTrayIcon::isSystemTrayAvailable();
}

// A host draws the menu itself (and may still ask the program to, with a right click); an XEmbed tray
// leaves the right click to the program alone, which would otherwise open the menu twice.
void SystemTrayBackend::setMenu(QMenu *menu)
{
    m_menu = menu;
    if (m_icon && m_statusNotifierHost)
        m_icon->setContextMenu(menu);
}

void SystemTrayBackend::setToolTip(const QString &text)
{
    m_toolTip = text;
    if (m_icon)
        m_icon->setToolTip(text);
}
