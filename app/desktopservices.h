#pragma once

#include "core/clock.h"
#include "notice/browserlauncher.h"
#include "window/dialogs.h"
#include "window/screen.h"
#include "window/services.h"

// The desktop's real services, made once by the program.
class DesktopServices : public Services
{
public:
    const Clock &clock() override { return m_clock; }
    Dialogs &dialogs() override { return m_dialogs; }
    const Screen &screen() override { return m_screen; }
    BrowserLauncher &browser() override { return m_browser; }
    std::unique_ptr<TrayBackend> makeTrayBackend() override;
    std::unique_ptr<AlertSound> makeAlertSound() override;
    std::unique_ptr<NoticeClient> makeNoticeClient() override;
    std::unique_ptr<DesktopNotifier> makeNotifier() override;

private:
    SystemClock m_clock;
    PrimaryScreen m_screen;
    QtDialogs m_dialogs{m_screen};
    DesktopBrowserLauncher m_browser;
};
