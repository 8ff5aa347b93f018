#include "desktop/instanceguard.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

const QByteArray kRestore = "restore\n";
const QByteArray kDone = "ok\n";
constexpr int kAnswerWaitMs = 10000;
constexpr int kConnectRetryMs = 50;

// Names the desktop this instance runs on, so that each display has its own first instance.
QString displayName()
{
    QString display = qEnvironmentVariable("DISPLAY");
    if (display.isEmpty())
        display = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (display.isEmpty())
        display = qEnvironmentVariable("QT_QPA_PLATFORM", QStringLiteral("default"));
    for (QChar &c : display) {
        const bool plain = (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'_'
                           || c == u'.' || c == u'-';
        if (!plain)
            c = u'_';
    }
    return display;
}

// $XDG_RUNTIME_DIR, or else a folder of this user's own in the temporary folder, made when missing. Any user
// may make that name first: a folder that is not this user's alone, or a link, is refused (empty, with
// `problem` saying why), so that nobody else can hold the lock or stand in for the socket.
QString runtimeDirectory(QString *problem)
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(runtime).exists())
        return runtime;
    const QString dir = QDir::tempPath() + QStringLiteral("/orvane-reminder-") + QString::number(getuid());
    const QByteArray path = QFile::encodeName(dir);
    const bool made = ::mkdir(path.constData(), S_IRWXU) == 0;
    struct stat status;
    if (::lstat(path.constData(), &status) != 0) {
        *problem = QStringLiteral("cannot make the folder %1: %2").arg(dir, QString::fromLocal8Bit(strerror(errno)));
        return {};
    }
    if (S_ISLNK(status.st_mode) || !S_ISDIR(status.st_mode)) {
        *problem = QStringLiteral("%1 is not a folder but a link or a file").arg(dir);
        return {};
    }
    // Checked again on what was opened: the name may have been swapped since lstat.
    const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    // A folder made just now gets its mode whatever the umask took away.
    const bool opened = fd >= 0 && (!made || ::fchmod(fd, S_IRWXU) == 0) && ::fstat(fd, &status) == 0;
    if (!opened) {
        *problem = QStringLiteral("cannot open the folder %1: %2").arg(dir, QString::fromLocal8Bit(strerror(errno)));
        if (fd >= 0)
            ::close(fd);
        return {};
    }
    ::close(fd);
    if (status.st_uid != getuid()) {
        *problem = QStringLiteral("the folder %1 belongs to another user (uid %2)").arg(dir).arg(status.st_uid);
        return {};
    }
    if ((status.st_mode & 07777) != S_IRWXU) {
        *problem = QStringLiteral("the folder %1 is not private (mode %2, not 0700)")
                       .arg(dir)
                       .arg(status.st_mode & 07777, 4, 8, QLatin1Char('0'));
        return {};
    }
    return dir;
}

bool socketAddress(const QString &path, sockaddr_un *address)
{
    const QByteArray bytes = QFile::encodeName(path);
    if (bytes.size() >= qsizetype(sizeof(address->sun_path)))
        return false;
    std::memset(address, 0, sizeof(*address));
    address->sun_family = AF_UNIX;
    std::memcpy(address->sun_path, bytes.constData(), size_t(bytes.size()));
    return true;
}

} // namespace

// The first instance's socket. Each later start is read as its bytes come, so one that sends nothing
// holds nothing up. The socket is plain POSIX: Qt's local sockets live in Qt Network, which would
// otherwise be loaded at every start for this alone.
class InstanceGuard::Listener : public QObject
{
public:
    Listener(int fd, const QString &path, InstanceGuard *guard)
        : QObject(guard)
        , m_fd(fd)
        , m_path(QFile::encodeName(path))
        , m_guard(guard)
    {
        auto *notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this, &Listener::accept);
    }
    ~Listener() override
    {
        ::close(m_fd);
        ::unlink(m_path.constData());
    }

private:
    void accept()
    {
        const int fd = ::accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0)
            return;
        auto *client = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        connect(client, &QSocketNotifier::activated, this, [this, client] { read(client); });
    }

    void read(QSocketNotifier *client)
    {
        const int fd = int(client->socket());
        char buffer[64];
        const ssize_t got = ::recv(fd, buffer, sizeof(buffer), 0);
        if (got < 0 && (errno == EAGAIN || errno == EINTR))
            return;
        QByteArray &line = m_lines[client];
        if (got > 0)
            line.append(buffer, got);
        if (got > 0 && !line.contains('\n') && line.size() < kRestore.size())
            return;
        const bool restore = line == kRestore;
        m_lines.remove(client);
        client->setEnabled(false);
        client->deleteLater();
        if (restore)
            emit m_guard->restoreRequested();
        ::send(fd, kDone.constData(), size_t(kDone.size()), MSG_NOSIGNAL);
        ::close(fd);
    }

    int m_fd;
    QByteArray m_path;
    InstanceGuard *m_guard;
    QHash<QSocketNotifier *, QByteArray> m_lines;
};

// A later start's request: connects to the first instance's socket (which may still be coming up, so it
// tries again every 50 ms), sends "restore" and waits for the answer, all within ten seconds.
class InstanceGuard::Request : public QObject
{
public:
    Request(const QString &path, InstanceGuard *guard)
        : QObject(guard)
        , m_guard(guard)
    {
        if (!socketAddress(path, &m_address)) {
            finish();
            return;
        }
        QTimer::singleShot(kAnswerWaitMs, this, &Request::finish);
        m_retry.setInterval(kConnectRetryMs);
        connect(&m_retry, &QTimer::timeout, this, &Request::tryConnect);
        m_retry.start();
        tryConnect();
    }
    ~Request() override
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }

private:
    void tryConnect()
    {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0 || ::connect(fd, reinterpret_cast<sockaddr *>(&m_address), sizeof(m_address)) != 0) {
            if (fd >= 0)
                ::close(fd);
            return;
        }
        m_retry.stop();
        m_fd = fd;
        if (::send(fd, kRestore.constData(), size_t(kRestore.size()), MSG_NOSIGNAL) != kRestore.size()) {
            finish();
            return;
        }
        auto *answer = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        connect(answer, &QSocketNotifier::activated, this, &Request::readAnswer);
    }

    void readAnswer()
    {
        char buffer[64];
        const ssize_t got = ::recv(m_fd, buffer, sizeof(buffer), 0);
        if (got < 0 && errno == EINTR)
            return;
        if (got > 0)
            m_answer.append(buffer, got);
        if (got <= 0 || m_answer.contains('\n'))
            finish();
    }

    void finish()
    {
        if (m_done)
            return;
        m_done = true;
        m_retry.stop();
        emit m_guard->finished();
    }

    InstanceGuard *m_guard;
    sockaddr_un m_address{};
    QTimer m_retry;
    int m_fd = -1;
    QByteArray m_answer;
    bool m_done = false;
};

InstanceGuard::InstanceGuard()
{
    const QString dir = runtimeDirectory(&m_problem);
    if (dir.isEmpty())
        return;
    m_base = dir + QStringLiteral("/orvane-reminder-") + displayName();
    const QByteArray path = QFile::encodeName(m_base + QStringLiteral(".lock"));
    m_lock = ::open(path.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (m_lock >= 0 && ::flock(m_lock, LOCK_EX | LOCK_NB) == 0)
        m_role = Role::First;
    else if (m_lock >= 0 && errno == EWOULDBLOCK)
        m_role = Role::Later;
    // Otherwise the runtime directory is not usable: the program runs without the guard.
}

InstanceGuard::~InstanceGuard()
{
    delete m_listener; // before the lock goes, so that no later start finds a socket without its owner
    if (m_lock >= 0)
        ::close(m_lock); // closing the file releases the lock
}

void InstanceGuard::listen()
{
    if (m_role != Role::First || m_listener)
        return;
    const QString path = m_base + QStringLiteral(".socket");
    sockaddr_un address;
    if (!socketAddress(path, &address))
        return;
    ::unlink(address.sun_path); // left behind by an instance that was killed
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return;
    if (::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)) != 0 || ::listen(fd, 16) != 0) {
        ::close(fd);
        return;
    }
    ::chmod(address.sun_path, S_IRUSR | S_IWUSR);
    m_listener = new Listener(fd, path, this);
}

void InstanceGuard::askFirstInstanceToRestore()
{
    new Request(m_base + QStringLiteral(".socket"), this);
}
