#pragma once

#include <QString>

// Caption of the taskbar entry, the error box and the message dialog.
inline const QString kApplicationTitle = QStringLiteral("Orvane日程提醒v1.0");
