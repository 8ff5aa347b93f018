#pragma once

#include "tests/support/privatesessionbus.h"

#include <QProcess>
#include <QTemporaryDir>

// A session bus of the test's own with a desktop's secret store on it: gnome-keyring-daemon's Secret Service,
// its keyrings in a temporary folder, the login keyring made and unlocked with a known password. Make it
// before anything in the process uses the session bus.
class SecretStoreDaemon
{
public:
    SecretStoreDaemon();
    ~SecretStoreDaemon();

    // Waits, a bounded time, until the Secret Service answers on the bus; false with the reason logged if not.
    bool start();
    // Ends the daemon: the bus stays, with no secret store on it.
    void stop();
    // The folder of its keyrings.
    QString keyrings() const { return m_dir.filePath(QStringLiteral("data/keyrings")); }

private:
    PrivateSessionBus m_bus;
    QTemporaryDir m_dir;
    QProcess m_daemon;
};
