#include "window/trayicon.h"

#include "core/apperror.h"
#include "window/appwindow.h"

#include <QApplication>
#include <QCursor>

namespace {

constexpr int kTipSize = 64; // bytes, with the terminating zero

// The length of the text in the GBK code page: one byte for ASCII, two for each other character.
int gbkLength(const QString &text)
{
    int bytes = 0;
    for (const char32_t character : text.toUcs4())
        bytes += character < 0x80 ? 1 : 2;
    return bytes;
}

} // namespace

TTrayIcon::TTrayIcon(AppWindow &appWindow, std::unique_ptr<TrayBackend> backend, QObject *owner)
    : QObject(owner)
    , m_appWindow(appWindow)
    , m_backend(std::move(backend))
    , m_icon(QGuiApplication::windowIcon())
{
    m_animation.setInterval(1000);
    connect(&m_animation, &QTimer::timeout, this, [this] { AnimateStep(); });
    m_data.uID = reinterpret_cast<quintptr>(this);
    m_data.uFlags = NIF_MESSAGE | NIF_ICON;
    m_backend->setMessageHandler([this](int message, int lParam) { WndProc(message, lParam); });
    UpdateIcon();
}

TTrayIcon::~TTrayIcon()
{
    m_backend->remove(m_data);
    m_appWindow.unhookSystemCommands(this);
}

void TTrayIcon::loaded()
{
    m_loading = false;
    if (m_icons) {
        if (m_animate)
            m_animation.start();
        m_icon = image(m_iconIndex);
    } else {
        m_animate = false;
        m_icon = QGuiApplication::windowIcon();
    }
    UpdateIcon();
}

void TTrayIcon::setVisible(bool visible)
{
    m_visible = visible;
    if (visible) {
        if (!m_backend->add(m_data))
            throw AppError(QStringLiteral("Cannot Create System Shell Notification Icon"));
        m_added = true;
        setHide(true);
        m_appWindow.hookSystemCommands(this, [this](SystemCommand command) {
            if (command == SC_MINIMIZE)
                Minimize();
            else
                Restore();
        });
    } else {
        if (!m_backend->remove(m_data))
            throw AppError(QStringLiteral("Cannot Remove System Shell Notification Icon"));
        m_added = false;
        m_hide = false;
        // The icon is gone, so a program minimised to the tray goes back onto the taskbar.
        m_appWindow.showTaskbarEntry();
        m_appWindow.unhookSystemCommands(this);
    }
}

void TTrayIcon::setHint(const QString &hint)
{
    if (hint == m_hint || gbkLength(hint) >= kTipSize)
        return;
    m_hint = hint;
    m_data.szTip = hint;
    if (hint.isEmpty())
        m_data.uFlags &= ~NIF_TIP;
    else
        m_data.uFlags |= NIF_TIP;
    UpdateIcon();
}

// Only a minimised program can be off the taskbar, so clearing Hide has nothing to do at once.
void TTrayIcon::setHide(bool hide)
{
    m_hide = hide;
    if (m_visible && hide && m_appWindow.isMinimized() && inTray())
        m_appWindow.hideTaskbarEntry();
}

void TTrayIcon::setAnimate(bool animate)
{
    if (m_icons || m_loading)
        m_animate = animate;
    if (!m_icons)
        return;
    if (animate)
        m_animation.start();
    else
        m_animation.stop();
}

void TTrayIcon::WndProc(int message, int lParam)
{
    if (message == WM_TRAYICON) {
        dispatchMouseMessage(lParam);
    } else if (message == WM_ENDSESSION) {
        m_backend->remove(m_data);
        m_added = false;
    }
}

void TTrayIcon::dispatchMouseMessage(int mouseMessage)
{
    const QPoint cursor = QCursor::pos();
    const int x = cursor.x();
    const int y = cursor.y();
    const ShiftState keys = shiftState(QGuiApplication::queryKeyboardModifiers());
    switch (mouseMessage) {
    case WM_MOUSEMOVE:
        if (m_onClick) // the click handler, not the mouse-move handler, decides
            MouseMove(keys, x, y);
        break;
    case WM_LBUTTONDOWN:
        MouseDown(Qt::LeftButton, keys | ssLeft, x, y);
        break;
    case WM_LBUTTONUP:
        if (m_onClick)
            Click();
        MouseUp(Qt::LeftButton, keys | ssLeft, x, y);
        restoreOrPopup(imLeftClickUp);
        break;
    case WM_LBUTTONDBLCLK:
        DblClick();
        restoreOrPopup(imLeftDoubleClick);
        break;
    case WM_RBUTTONDOWN:
        MouseDown(Qt::RightButton, keys | ssRight, x, y);
        break;
    case WM_RBUTTONUP:
        MouseUp(Qt::RightButton, keys | ssRight, x, y);
        restoreOrPopup(imRightClickUp);
        break;
    case WM_RBUTTONDBLCLK:
        DblClick();
        restoreOrPopup(imRightDoubleClick);
        break;
    case WM_MBUTTONDOWN:
        MouseDown(Qt::MiddleButton, keys | ssMiddle, x, y);
        break;
    case WM_MBUTTONUP:
        MouseUp(Qt::MiddleButton, keys | ssMiddle, x, y);
        break;
    case WM_MBUTTONDBLCLK:
        DblClick();
        break;
    default:
        break;
    }
}

// Restore is checked before the popup menu. imNone is never an action, so it never matches.
void TTrayIcon::restoreOrPopup(TTrayIconMessage action)
{
    if (m_restoreOn == action)
        Restore();
    if (m_popupMenuOn == action)
        PopupAtCursor();
}

void TTrayIcon::Click()
{
    restoreOrPopup(imClick);
    if (m_onClick)
        m_onClick(this);
}

void TTrayIcon::DblClick()
{
    restoreOrPopup(imDoubleClick);
    if (m_onDblClick)
        m_onDblClick(this);
}

void TTrayIcon::MouseMove(ShiftState shift, int x, int y)
{
    if (m_onMouseMove)
        m_onMouseMove(this, shift, x, y);
}

void TTrayIcon::MouseDown(Qt::MouseButton button, ShiftState shift, int x, int y)
{
    restoreOrPopup(imMouseDown);
    if (m_onMouseDown)
        m_onMouseDown(this, button, shift, x, y);
}

void TTrayIcon::MouseUp(Qt::MouseButton button, ShiftState shift, int x, int y)
{
    restoreOrPopup(imMouseUp);
    if (m_onMouseUp)
        m_onMouseUp(this, button, shift, x, y);
}

void TTrayIcon::AnimateStep()
{
    if (!m_icons)
        return;
    SelectIcon(m_iconIndex < m_icons->size() - 1 ? m_iconIndex + 1 : 0);
}

// Without a tray to come back through (none on the desktop, or the icon was refused), the program stays
// on the taskbar: minimised, never unreachable.
bool TTrayIcon::inTray() const
{
    return m_added && m_backend->isTrayAvailable();
}

void TTrayIcon::Minimize()
{
    m_appWindow.minimize();
    if (m_hide && inTray())
        m_appWindow.hideTaskbarEntry();
    if (m_onMinimize)
        m_onMinimize(this);
}

void TTrayIcon::Restore()
{
    m_appWindow.restore(); // back on the taskbar too
    m_appWindow.bringForward();
    if (m_onRestore)
        m_onRestore(this);
}

void TTrayIcon::UpdateIcon()
{
    m_data.hIcon = m_icon;
    if (m_visible)
        m_backend->modify(m_data);
}

void TTrayIcon::PopupAtCursor()
{
    const QPoint cursor = QCursor::pos();
    if (QWidget *active = QApplication::activeWindow())
        active->activateWindow();
    if (m_popupMenu)
        m_popupMenu->popup(cursor);
}

void TTrayIcon::SelectIcon(int index)
{
    m_iconIndex = index;
    if (m_icons)
        m_icon = image(index);
    UpdateIcon();
}

void TTrayIcon::UseApplicationIcon()
{
    m_icon = QGuiApplication::windowIcon();
    UpdateIcon();
}

QIcon TTrayIcon::image(int index) const
{
    return m_icons->value(index);
}
