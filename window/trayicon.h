#pragma once

#include "window/traybackend.h"

#include <QIcon>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>

#include <memory>

class ProgramWindows;
class QMenu;
class Screen;

// The program's icon in the notification area: an animation through a list of frames, a context menu on a
// right click, `clicked` on a left click, and the program minimised to the tray (minimised and off the
// taskbar, while a tray shows the icon; without a tray the program stays on the taskbar, never unreachable).
// A minimise or restore command that the program receives from outside (ProgramWindows's minimizeRequested and
// restoreRequested: the window manager, a second start) minimises to the tray or restores through it, once
// the icon shows.
class TrayIcon : public QObject
{
    Q_OBJECT

public:
    TrayIcon(ProgramWindows &program, const Screen &screen, std::unique_ptr<TrayBackend> backend,
             QObject *parent = nullptr);
    ~TrayIcon() override;

    // Shows the icon (the current frame, or the program's icon without frames); throws AppError
    // "Cannot Create System Shell Notification Icon" when the desktop refuses it. Once shown, nothing.
    void show();
    void setContextMenu(QMenu *menu);
    void setToolTip(const QString &text);
    // The icon goes through the frames, one a second, starting again after the last.
    void setAnimationFrames(const QList<QIcon> &frames);

    // Minimises the program and, while a tray shows the icon, takes it off the taskbar.
    void minimizeToTray();
    // Restores the program (back on the taskbar too) and brings its last active window forward.
    void restore();

signals:
    // A left click on the icon; a double-click gives two.
    void clicked();

private:
    void onActivated(QSystemTrayIcon::ActivationReason reason);
    void popUpMenu();
    void nextFrame();
    void updateIcon();
    QIcon currentIcon() const;
    bool inTray() const;

    ProgramWindows &m_program;
    const Screen &m_screen;
    std::unique_ptr<TrayBackend> m_backend;
    QPointer<QMenu> m_menu;
    QList<QIcon> m_frames;
    int m_frame = 0;
    QTimer m_animation;
    bool m_shown = false;
};
