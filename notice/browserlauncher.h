#pragma once

#include <QString>

// Starts the web browser on an address. The program starts the desktop's default browser; tests record.
class BrowserLauncher
{
public:
    virtual ~BrowserLauncher() = default;
    virtual void launch(const QString &address) = 0;
};

// The desktop's default browser through xdg-open, with the address as its one argument and no shell in
// between. Whether it starts is not examined.
class DesktopBrowserLauncher : public BrowserLauncher
{
public:
    void launch(const QString &address) override;
};

// An address the browser may be started on: http or https with a host, no control characters, not
// starting with '-' (which the opener would take for an option).
bool isWebAddress(const QString &address);
