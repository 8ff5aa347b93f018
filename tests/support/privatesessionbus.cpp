#include "tests/support/privatesessionbus.h"

#include <QFile>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <unistd.h>

namespace {

bool busThreadRunning()
{
    DIR *tasks = opendir("/proc/self/task");
    if (!tasks)
        return false;
    bool running = false;
    while (const dirent *task = readdir(tasks)) {
        char path[300];
        std::snprintf(path, sizeof path, "/proc/self/task/%s/comm", task->d_name);
        char name[32] = {};
        if (FILE *comm = std::fopen(path, "r")) {
            running = std::fgets(name, sizeof name, comm) && std::strcmp(name, "QDBusConnection\n") == 0;
            std::fclose(comm);
        }
        if (running)
            break;
    }
    closedir(tasks);
    return running;
}

// Qt's D-Bus thread ends at exit, and drops its last hold on its thread data in a thread-exit handler that
// runs after QThread::wait() has returned. The leak check at exit can come in between and report that data
// as lost; waiting until the thread is gone (a second at most) keeps the check about the test's own memory.
void waitForTheBusThread()
{
    for (int tries = 0; tries < 1000 && busThreadRunning(); ++tries)
        usleep(1000);
}

} // namespace

PrivateSessionBus::PrivateSessionBus()
{
    // Registered before the first connection makes Qt's D-Bus thread, so it runs after that thread is told
    // to end.
    static const bool waitsAtExit = std::atexit(waitForTheBusThread) == 0;
    Q_UNUSED(waitsAtExit)
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
