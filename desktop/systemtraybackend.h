#pragma once

#include "window/traybackend.h"

#include <QPointer>
#include <QTimer>

class QDBusServiceWatcher;
class QSystemTrayIcon;

// The notification area through QSystemTrayIcon: a StatusNotifierItem host or an XEmbed tray on Linux.
// Qt looks for a StatusNotifierItem host once per process, when the first tray icon is made or asked
// about, and keeps the answer: a program that asked before the panel started would never show there.
// So the icon is made only once a tray is there (a host registered with org.kde.StatusNotifierWatcher,
// or an XEmbed tray on the X display), and until then the backend watches for one; showing never fails
// for want of a tray, and isTrayAvailable() tells whether one is there.
class SystemTrayBackend : public TrayBackend
{
    Q_OBJECT

public:
    SystemTrayBackend();

    bool show(const QIcon &icon) override;
    void setIcon(const QIcon &icon) override;
    bool hide() override;
    bool isTrayAvailable() const override;
    void setMenu(QMenu *menu) override;
    void setToolTip(const QString &text) override;

private slots:
    // Makes the icon when a tray is there, or keeps watching for one.
    void lookForTray();

private:
    void makeIcon(bool statusNotifierHost);
    void connectToWatcher(bool connected);

    QSystemTrayIcon *m_icon = nullptr;
    QDBusServiceWatcher *m_watcher;
    QTimer m_xembedCheck;
    QIcon m_picture;
    QPointer<QMenu> m_menu;
    QString m_toolTip;
    bool m_statusNotifierHost = false;
    bool m_shown = false;
};
