#include "app/instanceguard.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>
#include <memory>
#include <unistd.h>

namespace {

const QByteArray kRestore = "restore\n";
const QByteArray kDone = "ok\n";
constexpr int kAnswerWaitMs = 10000;

enum class Role { Unguarded, First, Second };

struct Guard
{
    QString base; // path of the lock file and the socket, less their endings
    std::unique_ptr<QLockFile> lock;
    std::unique_ptr<QLocalServer> server;
    Role role = Role::Unguarded;
};

Guard &guard()
{
    static Guard instance;
    return instance;
}

// Names the desktop this instance runs on, so that each display has its own first instance.
QString displayName()
{
    QString display = qEnvironmentVariable("DISPLAY");
    if (display.isEmpty())
        display = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (display.isEmpty())
        display = qEnvironmentVariable("QT_QPA_PLATFORM", QStringLiteral("default"));
    return display.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_.-]")), QStringLiteral("_"));
}

QString runtimeDirectory()
{
    QString dir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (dir.isEmpty() || !QDir(dir).exists())
        dir = QDir::tempPath() + QStringLiteral("/orvane-reminder-") + QString::number(getuid());
    if (QDir().mkpath(dir))
        QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return dir;
}

void sendRestore(const QString &socketPath)
{
    // The first instance may still be starting: give it time to listen.
    const QDeadlineTimer deadline(kAnswerWaitMs);
    QLocalSocket socket;
    while (!deadline.hasExpired()) {
        socket.connectToServer(socketPath);
        if (socket.waitForConnected(500))
            break;
        socket.abort();
        QThread::msleep(50);
    }
    if (socket.state() != QLocalSocket::ConnectedState)
        return;
    socket.write(kRestore);
    socket.waitForBytesWritten(kAnswerWaitMs);
    QByteArray answer;
    while (!answer.contains('\n') && socket.waitForReadyRead(int(std::max<qint64>(deadline.remainingTime(), 1))))
        answer += socket.readAll();
}

void listen(Guard &g, std::function<void()> restore)
{
    const QString socketPath = g.base + QStringLiteral(".socket");
    QLocalServer::removeServer(socketPath); // left behind by an instance that was killed
    g.server = std::make_unique<QLocalServer>();
    g.server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!g.server->listen(socketPath))
        return;
    QObject::connect(g.server.get(), &QLocalServer::newConnection, g.server.get(), [server = g.server.get(), restore] {
        while (QLocalSocket *client = server->nextPendingConnection()) {
            QObject::connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
            QObject::connect(client, &QLocalSocket::readyRead, client, [client, restore] {
                if (!client->canReadLine())
                    return;
                if (client->readLine() == kRestore && restore)
                    restore();
                client->write(kDone);
                client->flush();
            });
        }
    });
}

} // namespace

void OpenInstanceGuard()
{
    Guard &g = guard();
    g.base = runtimeDirectory() + QStringLiteral("/orvane-reminder-") + displayName();
    g.lock = std::make_unique<QLockFile>(g.base + QStringLiteral(".lock"));
    g.lock->setStaleLockTime(0); // a running first instance is never stale, however long it runs
    if (g.lock->tryLock(0))
        g.role = Role::First;
    else if (g.lock->error() == QLockFile::LockFailedError)
        g.role = Role::Second;
    else
        g.role = Role::Unguarded; // the runtime directory is not usable: run without the guard
}

bool CheckPreviousInstance(std::function<void()> restore)
{
    Guard &g = guard();
    switch (g.role) {
    case Role::Unguarded:
        return false;
    case Role::First:
        listen(g, std::move(restore));
        return false;
    case Role::Second:
        sendRestore(g.base + QStringLiteral(".socket"));
        return true;
    }
    return false;
}

void CloseInstanceGuard()
{
    Guard &g = guard();
    g.server.reset();
    if (g.lock && g.role == Role::First)
        g.lock->unlock();
    g.lock.reset();
}
