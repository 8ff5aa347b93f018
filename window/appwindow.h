#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <vector>

class Dialogs;

// The two system commands that reach the program as a whole: from the window manager (the user
// minimising or restoring one of its windows) and from a second instance, which sends "restore".
enum SystemCommand {
    SC_MINIMIZE = 0xF020,
    SC_RESTORE = 0xF120,
};

// The program as a whole, as the desktop sees it: whether it is minimised, its taskbar entries and its
// last active window. One per program. On X11 every top-level window carries its own taskbar entry,
// so the taskbar entry is hidden by withdrawing the windows that the minimise took down.
class AppWindow : public QObject
{
    Q_OBJECT

public:
    using SystemCommandHook = std::function<void(SystemCommand command)>;

    // `dialogs` shows what goes wrong in a system command that the window manager started.
    explicit AppWindow(Dialogs &dialogs, QObject *parent = nullptr);
    ~AppWindow() override;

    bool isMinimized() const { return m_minimized; }
    // Minimises every visible window of the program; nothing when the program is already minimised.
    void minimize();
    // Brings back the windows that minimize() took down; nothing unless the program is minimised.
    void restore();

    // A program that is not minimised is always on the taskbar: on X11 its visible windows carry their
    // own entries. Only a minimised program can leave it.
    bool hasTaskbarEntry() const { return !m_entryHidden; }
    // Takes a minimised program off the taskbar: none of its windows shows at all.
    void hideTaskbarEntry();
    // Puts a minimised program back on the taskbar, still minimised.
    void showTaskbarEntry();

    // Brings the program's last active window forward: the modal window when one is open.
    void bringForward();

    // Runs `hook` on each system command before the program's own handling; one hook per owner.
    void hookSystemCommands(const QObject *owner, SystemCommandHook hook);
    void unhookSystemCommands(const QObject *owner);
    // A system command to the program: the hooks run first, then the program minimises or restores.
    void systemCommand(SystemCommand command);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Hook
    {
        const QObject *owner;
        SystemCommandHook run;
    };

    void noteStateChangeFromDesktop(QWidget *window);

    Dialogs &m_dialogs;
    bool m_minimized = false;
    QElapsedTimer m_restored; // since the program's last restore
    bool m_entryHidden = false;
    QList<QPointer<QWidget>> m_takenDown;
    QPointer<QWidget> m_lastActive;
    std::vector<Hook> m_hooks;
};
