#pragma once

#include "window/traybackend.h"

#include <QList>
#include <QSystemTrayIcon>

// The mouse messages of one activation of Qt's tray icon. Qt reports a click as one activation: a left
// click is a press and a release, so its one release makes one Click; a double-click comes after the
// first click's activation, as the second press (the double-click message) and its release.
QList<int> mouseMessagesFor(QSystemTrayIcon::ActivationReason reason);

// The notification area through QSystemTrayIcon: an XEmbed tray or a StatusNotifierItem host on Linux.
// Qt keeps an icon that it has been given and shows it as soon as a tray is there (also when the tray is
// started again), so adding never fails for want of a tray; isTrayAvailable() tells whether one is there.
class QtTrayBackend : public TrayBackend
{
public:
    QtTrayBackend();

    bool add(const NotifyIconData &data) override;
    bool modify(const NotifyIconData &data) override;
    bool remove(const NotifyIconData &data) override;
    bool isTrayAvailable() const override;

private:
    void apply(const NotifyIconData &data);

    QSystemTrayIcon m_icon;
    bool m_added = false;
};
