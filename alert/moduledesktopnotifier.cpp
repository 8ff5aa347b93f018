#include "alert/moduledesktopnotifier.h"

#include "core/module.h"

void ModuleDesktopNotifier::notify(const Reminder &reminder)
{
    if (!m_notifier) {
        auto *module = moduleInterface<DesktopNotifierModule>(QStringLiteral("orvane-notify"));
        if (!module)
            return; // without the module no notification is shown
        m_notifier = module->createDesktopNotifier(this);
        connect(m_notifier, &DesktopNotifier::activated, this, &DesktopNotifier::activated);
    }
    m_notifier->notify(reminder);
}
