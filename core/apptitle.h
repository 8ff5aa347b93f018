#pragma once

#include "core/translatedtext.h"

// Caption of the taskbar entry, the error box and the message dialog.
inline const TranslatedText kApplicationTitle{"Orvane", QT_TRANSLATE_NOOP("Orvane", "Orvane日程提醒v1.0")};
