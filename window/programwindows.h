#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>

class Dialogs;

// The program's set of windows as the desktop sees it: whether the program is minimised, its taskbar
// entries and its last active window. One per program. On X11 every top-level window carries its own taskbar entry,
// so the taskbar entry is hidden by withdrawing the windows that the minimise took down.
class ProgramWindows : public QObject
{
    Q_OBJECT

public:
    // `dialogs` shows what goes wrong in a command that the window manager started.
    explicit ProgramWindows(Dialogs &dialogs, QObject *parent = nullptr);
    ~ProgramWindows() override;

    bool isMinimized() const { return m_minimized; }
    // Minimises every visible window of the program; nothing when the program is already minimised.
    void minimize();
    // Brings back the windows that minimize() took down, owners before their dialogs, open dialogs as they
    // were; nothing unless the program is minimised.
    void restore();

    // A program that is not minimised is always on the taskbar: on X11 its visible windows carry their
    // own entries. Only a minimised program can leave it.
    bool hasTaskbarEntry() const { return !m_entryHidden; }
    // Takes a minimised program off the taskbar: none of its windows shows at all. A dialog opened with
    // open() stays open through it; hiding would end one run with exec().
    void hideTaskbarEntry();

    // Brings the program's last active window forward: the modal window when one is open.
    void bringForward();

    // A command from outside the program (the window manager, a second start): emits minimizeRequested(),
    // then minimises.
    void requestMinimize();
    // Emits restoreRequested(), then restores and brings the program's last active window forward.
    void requestRestore();

signals:
    void minimizeRequested();
    void restoreRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void noteStateChangeFromDesktop(QWidget *window);

    Dialogs &m_dialogs;
    bool m_minimized = false;
    QElapsedTimer m_restored; // since the program's last restore
    bool m_entryHidden = false;
    QList<QPointer<QWidget>> m_takenDown; // owners before the windows they own
    QPointer<QWidget> m_lastActive;
};
