#pragma once

#include "window/screenrect.h"

#include <QTest>

// Lets QCOMPARE print a ScreenRect that differs.
inline char *toString(const ScreenRect &rect)
{
    return QTest::toString(
        QStringLiteral("ScreenRect(%1, %2, %3, %4)").arg(rect.left).arg(rect.top).arg(rect.right).arg(rect.bottom));
}
