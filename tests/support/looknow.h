#pragma once

#include "reminders/reminders.h"

#include <QSignalSpy>

// Asks `reminders` for a look and waits for its end, long enough for a look that waits out another program's
// lock: what it raised is queued, or its failure told, when this returns true.
inline bool lookNow(Reminders &reminders)
{
    QSignalSpy looked(&reminders, &Reminders::looked);
    reminders.checkNow();
    return looked.wait(15000);
}
