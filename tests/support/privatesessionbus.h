#pragma once

#include <QProcess>
#include <QTemporaryDir>

// A session bus of the test's own: a dbus-daemon that starts no services, made the process's session bus
// (DBUS_SESSION_BUS_ADDRESS). Make it before anything in the process uses the session bus; at exit the
// process then waits for Qt's D-Bus thread to be gone before the leak check.
class PrivateSessionBus
{
public:
    PrivateSessionBus();
    ~PrivateSessionBus();

    // Empty when the daemon did not start.
    QString address() const { return m_address; }

private:
    QTemporaryDir m_dir;
    QProcess m_daemon;
    QString m_address;
};
