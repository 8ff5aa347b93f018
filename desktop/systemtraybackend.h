#pragma once

#include "window/traybackend.h"

// The notification area through QSystemTrayIcon: an XEmbed tray or a StatusNotifierItem host on Linux.
// Qt keeps an icon that it has been given and shows it as soon as a tray is there (also when the tray is
// started again), so showing never fails for want of a tray; isTrayAvailable() tells whether one is there.
class SystemTrayBackend : public TrayBackend
{
    Q_OBJECT

public:
    SystemTrayBackend();

    bool show(const QIcon &icon) override;
    void setIcon(const QIcon &icon) override;
    bool hide() override;
    bool isTrayAvailable() const override;

private:
    QSystemTrayIcon m_icon;
    bool m_shown = false;
};
