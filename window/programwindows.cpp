#include "window/programwindows.h"

#include "window/dialogs.h"

#include <QApplication>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace {

// The program's own windows: the window manager's tray icon and the program's menus and tips are not.
bool isProgramWindow(const QWidget *widget)
{
    if (!widget->isWindow() || widget->windowFlags().testFlag(Qt::BypassWindowManagerHint))
        return false;
    switch (widget->windowType()) {
    case Qt::Window:
    case Qt::Dialog:
    case Qt::Tool:
        return true;
    default:
        return false;
    }
}

// How many widgets a window stands on: a dialog of the main window stands on it, so it comes back after it.
int ownerDepth(const QWidget *window)
{
    int depth = 0;
    for (const QWidget *owner = window->parentWidget(); owner; owner = owner->parentWidget())
        ++depth;
    return depth;
}

} // namespace

ProgramWindows::ProgramWindows(Dialogs &dialogs, QObject *parent)
    : QObject(parent)
    , m_dialogs(dialogs)
{
    qApp->installEventFilter(this);
}

ProgramWindows::~ProgramWindows()
{
    qApp->removeEventFilter(this);
}

void ProgramWindows::minimize()
{
    if (m_minimized)
        return;
    m_minimized = true;
    m_entryHidden = false;
    m_takenDown.clear();
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (isProgramWindow(window) && window->isVisible())
            m_takenDown.append(window);
    }
    // Shown again owners first, so that a dialog, a modal one above all, stacks above the window it belongs to.
    std::stable_sort(
        m_takenDown.begin(), m_takenDown.end(),
        [](const QPointer<QWidget> &a, const QPointer<QWidget> &b) { return ownerDepth(a) < ownerDepth(b); });
    for (const QPointer<QWidget> &window : std::as_const(m_takenDown))
        window->showMinimized();
}

void ProgramWindows::restore()
{
    if (!m_minimized)
        return;
    m_minimized = false;
    m_entryHidden = false;
    const QList<QPointer<QWidget>> windows = std::exchange(m_takenDown, {});
    for (const QPointer<QWidget> &window : windows) {
        if (!window)
            continue;
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
        window->show();
    }
    m_restored.start();
}

void ProgramWindows::hideTaskbarEntry()
{
    if (!m_minimized)
        return;
    m_entryHidden = true;
    for (const QPointer<QWidget> &window : std::as_const(m_takenDown)) {
        if (window)
            window->hide();
    }
}

void ProgramWindows::bringForward()
{
    QWidget *window = QApplication::activeModalWidget();
    if (!window)
        window = m_lastActive;
    if (!window || !window->isVisible() || !window->isEnabled())
        return;
    window->raise();
    window->activateWindow();
}

void ProgramWindows::requestMinimize()
{
    emit minimizeRequested();
    minimize();
}

void ProgramWindows::requestRestore()
{
    emit restoreRequested();
    restore();
    bringForward();
}

bool ProgramWindows::eventFilter(QObject *watched, QEvent *event)
{
    if (!watched->isWidgetType())
        return false;
    auto *widget = static_cast<QWidget *>(watched);
    if (event->type() == QEvent::WindowActivate && isProgramWindow(widget))
        m_lastActive = widget;
    else if (event->type() == QEvent::WindowStateChange && event->spontaneous() && isProgramWindow(widget))
        noteStateChangeFromDesktop(widget);
    return false;
}

// The window manager minimised or restored one of the program's windows (from the taskbar, say): for the
// program as a whole that is a command to minimise or restore. Run after the event, since the command
// changes the state of the very windows whose events are being delivered.
void ProgramWindows::noteStateChangeFromDesktop(QWidget *window)
{
    if (!window->isVisible())
        return;
    // A window withdrawn while iconic can be mapped iconic again, late, by a busy window manager: that
    // is an echo of the minimise before, not the user's command, and the window is asked back. 2 s: far
    // longer than a busy window manager's delay, far shorter than a user's minimise after a restore.
    if (window->isMinimized() && !m_minimized && m_restored.isValid() && m_restored.elapsed() < 2000) {
        QTimer::singleShot(0, window, [window] { window->showNormal(); });
        return;
    }
    const bool minimizing = window->isMinimized() && !m_minimized;
    const bool restoring = !window->isMinimized() && m_minimized && m_takenDown.contains(window);
    if (!minimizing && !restoring)
        return;
    QTimer::singleShot(0, this, [this, minimizing] {
        guarded(m_dialogs, [this, minimizing] { minimizing ? requestMinimize() : requestRestore(); });
    });
}
