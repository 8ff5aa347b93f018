#pragma once

#include <memory>

class AlertSound;
class BrowserLauncher;
class Clock;
class DesktopNotifier;
class Dialogs;
class NoticeClient;
class Screen;
class TrayBackend;

// Every outside effect of the program's windows: the clock, the message boxes, the screen, the web
// browser, and a maker for each service that a window owns for itself (its tray icon's backend, its
// player, its notice client) or that the program's reminders own (the desktop notifier). The program makes
// the real ones once; tests make fakes. Every window takes it, so it names the services' types only.
class Services
{
public:
    virtual ~Services() = default;

    virtual const Clock &clock() = 0;
    virtual Dialogs &dialogs() = 0;
    virtual const Screen &screen() = 0;
    virtual BrowserLauncher &browser() = 0;

    virtual std::unique_ptr<TrayBackend> makeTrayBackend() = 0;
    virtual std::unique_ptr<AlertSound> makeAlertSound() = 0;
    virtual std::unique_ptr<NoticeClient> makeNoticeClient() = 0;
    virtual std::unique_ptr<DesktopNotifier> makeNotifier() = 0;
};
