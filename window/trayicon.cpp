#include "window/trayicon.h"

#include "core/apperror.h"
#include "window/programwindows.h"
#include "window/screen.h"

#include <QApplication>
#include <QMenu>

namespace {

constexpr int kFrameInterval = 1000;

} // namespace

TrayIcon::TrayIcon(ProgramWindows &program, const Screen &screen, std::unique_ptr<TrayBackend> backend, QObject *parent)
    : QObject(parent)
    , m_program(program)
    , m_screen(screen)
    , m_backend(std::move(backend))
    , m_animation(this)
{
    m_animation.setInterval(kFrameInterval);
    connect(&m_animation, &QTimer::timeout, this, &TrayIcon::nextFrame);
    connect(m_backend.get(), &TrayBackend::activated, this, &TrayIcon::onActivated);
}

TrayIcon::~TrayIcon()
{
    if (m_shown)
        m_backend->hide();
}

void TrayIcon::show()
{
    if (m_shown)
        return;
    if (!m_backend->show(currentIcon()))
        throw AppError(QStringLiteral("Cannot Create System Shell Notification Icon"));
    m_shown = true;
    connect(&m_program, &ProgramWindows::minimizeRequested, this, &TrayIcon::minimizeToTray);
    connect(&m_program, &ProgramWindows::restoreRequested, this, &TrayIcon::restore);
}

void TrayIcon::setContextMenu(QMenu *menu)
{
    m_menu = menu;
    m_backend->setMenu(menu);
}

void TrayIcon::setToolTip(const QString &text)
{
    m_backend->setToolTip(text);
}

void TrayIcon::setAnimationFrames(const QList<QIcon> &frames)
{
    m_frames = frames;
    m_frame = 0;
    if (m_frames.isEmpty())
        m_animation.stop();
    else
        m_animation.start();
    updateIcon();
}

void TrayIcon::nextFrame()
{
    if (m_frames.isEmpty())
        return;
    m_frame = (m_frame + 1) % int(m_frames.size());
    updateIcon();
}

void TrayIcon::updateIcon()
{
    if (m_shown)
        m_backend->setIcon(currentIcon());
}

QIcon TrayIcon::currentIcon() const
{
    return m_frames.isEmpty() ? QGuiApplication::windowIcon() : m_frames.at(m_frame);
}

// A double-click comes after the first click's Trigger as the second click: it clicks once more.
void TrayIcon::onActivated(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::Trigger:
    case QSystemTrayIcon::DoubleClick:
        emit clicked();
        break;
    case QSystemTrayIcon::Context:
        popUpMenu();
        break;
    case QSystemTrayIcon::MiddleClick:
    case QSystemTrayIcon::Unknown:
        break;
    }
}

// The program's active window comes first, so that the menu closes when the user clicks elsewhere.
void TrayIcon::popUpMenu()
{
    const QPoint cursor = m_screen.cursorPos();
    if (QWidget *active = QApplication::activeWindow())
        active->activateWindow();
    if (m_menu)
        m_menu->popup(cursor);
}

// Without a tray to come back through (none on the desktop, or the icon was refused), the program stays
// on the taskbar: minimised, never unreachable.
bool TrayIcon::inTray() const
{
    return m_shown && m_backend->isTrayAvailable();
}

void TrayIcon::minimizeToTray()
{
    m_program.minimize();
    if (inTray())
        m_program.hideTaskbarEntry();
}

void TrayIcon::restore()
{
    m_program.restore();
    m_program.bringForward();
}
