#include "tests/support/secretstoredaemon.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDeadlineTimer>
#include <QDir>
#include <QThread>

SecretStoreDaemon::SecretStoreDaemon() = default;

SecretStoreDaemon::~SecretStoreDaemon()
{
    stop();
}

bool SecretStoreDaemon::start()
{
    if (m_bus.address().isEmpty()) {
        qWarning("no private session bus for the secret store");
        return false;
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *folder : {"data", "config", "runtime", "home"}) {
        QDir(m_dir.path()).mkpath(QLatin1String(folder));
        QFile::setPermissions(m_dir.filePath(QLatin1String(folder)),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    environment.insert(QStringLiteral("XDG_DATA_HOME"), m_dir.filePath(QStringLiteral("data")));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_dir.filePath(QStringLiteral("runtime")));
    environment.insert(QStringLiteral("HOME"), m_dir.filePath(QStringLiteral("home")));
    m_daemon.setProcessEnvironment(environment);
    m_daemon.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_daemon.start(QStringLiteral("gnome-keyring-daemon"), {QStringLiteral("--foreground"), QStringLiteral("--unlock"),
                                                            QStringLiteral("--components=secrets")});
    if (!m_daemon.waitForStarted()) {
        qWarning("gnome-keyring-daemon did not start: %s", qPrintable(m_daemon.errorString()));
        return false;
    }
    // --unlock makes the login keyring with the password it reads, and makes it the default one.
    m_daemon.write("test-keyring-password");
    m_daemon.waitForBytesWritten();
    m_daemon.closeWriteChannel();
    const QDBusConnection bus = QDBusConnection::sessionBus();
    const QDeadlineTimer deadline(10000);
    while (!bus.interface()->isServiceRegistered(QStringLiteral("org.freedesktop.secrets"))) {
        if (deadline.hasExpired() || m_daemon.state() != QProcess::Running) {
            qWarning("gnome-keyring-daemon's Secret Service did not come on the bus");
            return false;
        }
        QThread::msleep(50);
    }
    return true;
}

void SecretStoreDaemon::stop()
{
    if (m_daemon.state() == QProcess::NotRunning)
        return;
    m_daemon.terminate();
    if (!m_daemon.waitForFinished(5000)) {
        m_daemon.kill();
        m_daemon.waitForFinished();
    }
}
