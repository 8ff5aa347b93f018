#pragma once

#include <QIcon>
#include <QString>

#include <functional>

// The notification area's record of one icon, as TTrayIcon keeps it.
struct NotifyIconData
{
    quintptr uID = 0;    // unique per icon, the same for adding, changing and deleting it
    unsigned uFlags = 0; // NIF_* below
    QIcon hIcon;
    QString szTip; // shown only while uFlags holds NIF_TIP
};

constexpr unsigned NIF_MESSAGE = 1;
constexpr unsigned NIF_ICON = 2;
constexpr unsigned NIF_TIP = 4;

// Messages that the notification area sends to an icon's owner.
constexpr int WM_ENDSESSION = 22;
constexpr int WM_TRAYICON = 1025; // the icon's callback message; lParam holds one of the mouse messages
constexpr int WM_MOUSEMOVE = 512;
constexpr int WM_LBUTTONDOWN = 513;
constexpr int WM_LBUTTONUP = 514;
constexpr int WM_LBUTTONDBLCLK = 515;
constexpr int WM_RBUTTONDOWN = 516;
constexpr int WM_RBUTTONUP = 517;
constexpr int WM_RBUTTONDBLCLK = 518;
constexpr int WM_MBUTTONDOWN = 519;
constexpr int WM_MBUTTONUP = 520;
constexpr int WM_MBUTTONDBLCLK = 521;

// The desktop's notification area: adds, changes and deletes one icon, and hands the icon's messages
// to the handler that its owner set.
class TrayBackend
{
public:
    using MessageHandler = std::function<void(int message, int lParam)>;

    virtual ~TrayBackend() = default;
    // Each returns whether the notification area accepted the request.
    virtual bool add(const NotifyIconData &data) = 0;
    virtual bool modify(const NotifyIconData &data) = 0;
    virtual bool remove(const NotifyIconData &data) = 0;
    // Whether the desktop shows a notification area at the moment.
    virtual bool isTrayAvailable() const = 0;

    void setMessageHandler(MessageHandler handler) { m_handler = std::move(handler); }

protected:
    void deliver(int message, int lParam = 0) const
    {
        if (m_handler)
            m_handler(message, lParam);
    }

private:
    MessageHandler m_handler;
};
