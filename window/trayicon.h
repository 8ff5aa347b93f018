#pragma once

#include "window/shiftstate.h"
#include "window/traybackend.h"

#include <QIcon>
#include <QList>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

class AppWindow;

// The mouse action that restores the program or opens the popup menu.
enum TTrayIconMessage {
    imClick,
    imDoubleClick,
    imMouseDown,
    imMouseUp,
    imLeftClickUp,
    imLeftDoubleClick,
    imRightClickUp,
    imRightDoubleClick,
    imNone,
};

// The program's icon in the notification area: turns the mouse on the icon into events, restores the
// program or opens a popup menu on a chosen action, animates through a list of images, and minimises the
// program to the tray (minimised and off the taskbar).
//
// Properties are set in the order they are declared here, then loaded() ends the loading. The event
// handlers run inside Qt's event delivery: the window wraps them in guarded().
class TTrayIcon : public QObject
{
    Q_OBJECT

public:
    using TNotifyEvent = std::function<void(TTrayIcon *sender)>;
    using TMouseMoveEvent = std::function<void(TTrayIcon *sender, ShiftState shift, int x, int y)>;
    using TMouseEvent = std::function<void(TTrayIcon *sender, Qt::MouseButton button, ShiftState shift, int x, int y)>;

    TTrayIcon(AppWindow &appWindow, std::unique_ptr<TrayBackend> backend, QObject *owner = nullptr);
    ~TTrayIcon() override;

    // The end of loading: the animation starts and the icon shows image IconIndex.
    void loaded();

    // Puts the icon into the notification area (failing with "Cannot Create System Shell Notification
    // Icon") or takes it out (failing with "Cannot Remove System Shell Notification Icon"); Hide follows.
    bool visible() const { return m_visible; }
    void setVisible(bool visible);
    // The tooltip; a text of 64 bytes or more in the GBK code page is ignored.
    QString hint() const { return m_hint; }
    void setHint(const QString &hint);
    QMenu *popupMenu() const { return m_popupMenu; }
    void setPopupMenu(QMenu *menu) { m_popupMenu = menu; }
    // Whether minimising also takes the program off the taskbar.
    bool hide() const { return m_hide; }
    void setHide(bool hide);
    TTrayIconMessage restoreOn() const { return m_restoreOn; }
    void setRestoreOn(TTrayIconMessage message) { m_restoreOn = message; }
    TTrayIconMessage popupMenuOn() const { return m_popupMenuOn; }
    void setPopupMenuOn(TTrayIconMessage message) { m_popupMenuOn = message; }
    // The images of the animation; clearIcons() is the image list going away.
    bool hasIcons() const { return m_icons.has_value(); }
    void setIcons(const QList<QIcon> &icons) { m_icons = icons; }
    void clearIcons() { m_icons.reset(); }
    // Does not change the icon by itself; SelectIcon does.
    int iconIndex() const { return m_iconIndex; }
    void setIconIndex(int index) { m_iconIndex = index; }
    int animateInterval() const { return m_animation.interval(); }
    void setAnimateInterval(int milliseconds) { m_animation.setInterval(milliseconds); }
    // Takes the value only with an image list or while loading.
    bool animate() const { return m_animate; }
    void setAnimate(bool animate);

    void setOnMinimize(TNotifyEvent handler) { m_onMinimize = std::move(handler); }
    void setOnRestore(TNotifyEvent handler) { m_onRestore = std::move(handler); }
    void setOnMouseMove(TMouseMoveEvent handler) { m_onMouseMove = std::move(handler); }
    void setOnClick(TNotifyEvent handler) { m_onClick = std::move(handler); }
    void setOnDblClick(TNotifyEvent handler) { m_onDblClick = std::move(handler); }
    void setOnMouseDown(TMouseEvent handler) { m_onMouseDown = std::move(handler); }
    void setOnMouseUp(TMouseEvent handler) { m_onMouseUp = std::move(handler); }

    // A message to the icon's owner: WM_TRAYICON with a mouse message, or WM_ENDSESSION.
    virtual void WndProc(int message, int lParam);
    virtual void Click();
    virtual void DblClick();
    virtual void MouseMove(ShiftState shift, int x, int y);
    virtual void MouseDown(Qt::MouseButton button, ShiftState shift, int x, int y);
    virtual void MouseUp(Qt::MouseButton button, ShiftState shift, int x, int y);
    // One tick of the animation: the next image, after the last the first.
    virtual void AnimateStep();
    // Minimises the program and, with Hide, takes it off the taskbar while the icon is in a tray.
    virtual void Minimize();
    virtual void Restore();
    virtual void UpdateIcon();
    virtual void PopupAtCursor();
    virtual void SelectIcon(int index);
    virtual void UseApplicationIcon();

private:
    void dispatchMouseMessage(int mouseMessage);
    void restoreOrPopup(TTrayIconMessage action);
    bool inTray() const;
    QIcon image(int index) const;

    AppWindow &m_appWindow;
    std::unique_ptr<TrayBackend> m_backend;
    NotifyIconData m_data;
    QIcon m_icon;
    std::optional<QList<QIcon>> m_icons;
    QPointer<QMenu> m_popupMenu;
    QTimer m_animation;
    QString m_hint;
    int m_iconIndex = 0;
    bool m_visible = false;
    bool m_added = false;
    bool m_hide = true;
    bool m_animate = false;
    bool m_loading = true;
    TTrayIconMessage m_restoreOn = imDoubleClick;
    TTrayIconMessage m_popupMenuOn = imNone;
    TNotifyEvent m_onMinimize;
    TNotifyEvent m_onRestore;
    TMouseMoveEvent m_onMouseMove;
    TNotifyEvent m_onClick;
    TNotifyEvent m_onDblClick;
    TMouseEvent m_onMouseDown;
    TMouseEvent m_onMouseUp;
};
