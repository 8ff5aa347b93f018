#include "app/desktopservices.h"

#include "alert/alertsound.h"
#include "alert/moduledesktopnotifier.h"
#include "desktop/systemtraybackend.h"
#include "notice/modulenoticeclient.h"

std::unique_ptr<TrayBackend> DesktopServices::makeTrayBackend()
{
    return std::make_unique<SystemTrayBackend>();
}

std::unique_ptr<AlertSound> DesktopServices::makeAlertSound()
{
    return std::make_unique<ModuleAlertSound>();
}

std::unique_ptr<NoticeClient> DesktopServices::makeNoticeClient()
{
    return std::make_unique<ModuleNoticeClient>();
}

std::unique_ptr<DesktopNotifier> DesktopServices::makeNotifier()
{
    return std::make_unique<ModuleDesktopNotifier>();
}
