#pragma once

#include "alert/desktopnotifier.h"

// The notifier as the program has it: the one of the notification module (orvane-notify beside the
// executable), loaded at the first notification as the program's other modules are, so that nothing of the
// notifications is made before a reminder falls due; it forwards the module's notifier's signal. Without
// the module nothing is shown, and the reason goes once to the error output.
class ModuleDesktopNotifier : public DesktopNotifier
{
    Q_OBJECT

public:
    using DesktopNotifier::DesktopNotifier;

    void notify(const Reminder &reminder) override;

private:
    // The module's notifier, a child of this one; null until the first notification and without the module.
    DesktopNotifier *m_notifier = nullptr;
};
