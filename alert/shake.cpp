#include "alert/shake.h"

#include <QGuiApplication>
#include <QRandomGenerator>
#include <QWidget>

#if QT_CONFIG(xcb)
#include <xcb/xcb.h>
#endif

void shakeWindow(QWidget &window, const std::function<void()> &afterMove)
{
    const int left = window.x();
    const int top = window.y();
    QRandomGenerator &random = *QRandomGenerator::global();
    for (int pass = 0; pass < 100; ++pass) {
        window.move(left - 10 + int(random.bounded(20)), window.y());
        afterMove();
        window.move(window.x(), top - 10 + int(random.bounded(20)));
        afterMove();
    }
    window.move(left, window.y());
    afterMove();
    window.move(left, top);
    afterMove();
}

void flushWindowSystem()
{
#if QT_CONFIG(xcb)
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 && x11->connection())
        xcb_flush(x11->connection());
#endif
}
