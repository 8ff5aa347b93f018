#pragma once

#include <QIcon>
#include <QObject>
#include <QSystemTrayIcon>

class QMenu;

// The desktop's notification area for one icon. The real one is SystemTrayBackend; tests record.
class TrayBackend : public QObject
{
    Q_OBJECT

public:
    // Puts the icon there; false when the desktop refuses.
    virtual bool show(const QIcon &icon) = 0;
    virtual void setIcon(const QIcon &icon) = 0;
    // Takes it away; false when it was not there.
    virtual bool hide() = 0;
    // Whether the desktop shows a notification area at the moment.
    virtual bool isTrayAvailable() const = 0;
    // The icon's menu, for a tray that shows menus itself; the others report a right click as Context.
    virtual void setMenu(QMenu *menu) = 0;
    virtual void setToolTip(const QString &text) = 0;

signals:
    // The user acted on the icon: Trigger (a left click), DoubleClick, Context (a right click), MiddleClick.
    void activated(QSystemTrayIcon::ActivationReason reason);
};
