#include "alert/desktopnotifier.h"

#include "core/module.h"
#include "core/text.h"
#include "store/reminder.h"
#include "store/textformats.h"

QString notificationBody(const Reminder &reminder)
{
    const QString time = reminder.due.isValid() ? regionalDateTimeText(reminder.due) : QString();
    return time + QLatin1Char('\n') + withLineFeeds(reminder.content);
}

void ModuleDesktopNotifier::notify(const Reminder &reminder)
{
    if (!m_notifier) {
        // Without the module no notification is shown.
        m_notifier = createFromModule<DesktopNotifier>(QStringLiteral("orvane-notify"), "orvaneCreateDesktopNotifier");
        if (!m_notifier)
            return;
        m_notifier->setParent(this);
        forwardSignal(*m_notifier, *this, QMetaMethod::fromSignal(&DesktopNotifier::activated));
    }
    m_notifier->notify(reminder);
}
