#pragma once

#include "notice/browserlauncher.h"

#include <QStringList>

// Records the addresses the browser would have been started on, instead of starting it.
class RecordingBrowser : public BrowserLauncher
{
public:
    void launch(const QString &address) override { launched << address; }
    QStringList launched;
};
