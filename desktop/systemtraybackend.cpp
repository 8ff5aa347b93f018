#include "desktop/systemtraybackend.h"

SystemTrayBackend::SystemTrayBackend()
    : m_icon(this)
{
    connect(&m_icon, &QSystemTrayIcon::activated, this, &TrayBackend::activated);
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
    m_icon.setIcon(icon);
    if (m_shown && !m_icon.isVisible() && !icon.isNull())
        m_icon.show();
}

bool SystemTrayBackend::hide()
{
    if (!m_shown)
        return false;
    m_shown = false;
    m_icon.hide();
    return true;
}

bool SystemTrayBackend::isTrayAvailable() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}
