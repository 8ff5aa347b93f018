#include "window/qttraybackend.h"

#include <QGuiApplication>

QtTrayBackend::QtTrayBackend()
{
    QObject::connect(&m_icon, &QSystemTrayIcon::activated, &m_icon, [this](QSystemTrayIcon::ActivationReason reason) {
        for (int message : mouseMessagesFor(reason))
            deliver(WM_TRAYICON, message);
    });
    // The session manager's last word before the session ends.
    QObject::connect(qGuiApp, &QGuiApplication::commitDataRequest, &m_icon, [this] { deliver(WM_ENDSESSION); });
}

bool QtTrayBackend::add(const NotifyIconData &data)
{
    if (m_added)
        return false;
    m_added = true;
    apply(data);
    return true;
}

bool QtTrayBackend::modify(const NotifyIconData &data)
{
    if (!m_added)
        return false;
    apply(data);
    return true;
}

bool QtTrayBackend::remove(const NotifyIconData &)
{
    if (!m_added)
        return false;
    m_added = false;
    m_icon.hide();
    return true;
}

bool QtTrayBackend::isTrayAvailable() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void QtTrayBackend::apply(const NotifyIconData &data)
{
    m_icon.setIcon(data.hIcon);
    m_icon.setToolTip((data.uFlags & NIF_TIP) ? data.szTip : QString());
    // Qt shows no icon without a picture (and warns); an icon added before its picture shows with it.
    if (!m_icon.isVisible() && !data.hIcon.isNull())
        m_icon.show();
}

QList<int> mouseMessagesFor(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        return {WM_LBUTTONDOWN, WM_LBUTTONUP};
    case QSystemTrayIcon::DoubleClick:
        return {WM_LBUTTONDBLCLK, WM_LBUTTONUP};
    case QSystemTrayIcon::Context:
        return {WM_RBUTTONDOWN, WM_RBUTTONUP};
    case QSystemTrayIcon::MiddleClick:
        return {WM_MBUTTONDOWN, WM_MBUTTONUP};
    case QSystemTrayIcon::Unknown:
        break;
    }
    return {};
}
