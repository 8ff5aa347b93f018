#include "tests/support/privatesessionbus.h"

#include <QFile>

PrivateSessionBus::PrivateSessionBus()
{
    // Without <servicedir>, a call to a missing service fails at once instead of starting one that the
    // machine happens to have installed.
    const QString config = m_dir.filePath(QStringLiteral("bus.conf"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write(QStringLiteral("<busconfig><type>session</type><listen>unix:dir=%1</listen>"
                              "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
                              "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>")
                   .arg(m_dir.path())
                   .toUtf8());
    file.close();
    m_daemon.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--config-file=") + config,
                                                   QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
    while (m_daemon.waitForReadyRead(10000)) {
        m_address += QString::fromUtf8(m_daemon.readAllStandardOutput());
        if (m_address.endsWith(QLatin1Char('\n')))
            break;
    }
    m_address = m_address.trimmed();
    qputenv("DBUS_SESSION_BUS_ADDRESS", m_address.toUtf8());
}

PrivateSessionBus::~PrivateSessionBus()
{
    m_daemon.kill();
    m_daemon.waitForFinished();
}
