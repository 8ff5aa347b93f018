#include "app/instanceguard.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

namespace {

const QByteArray kRestore = "restore\n";
const QByteArray kDone = "ok\n";
constexpr int kAnswerWaitMs = 10000;

enum class Role { Unguarded, First, Second };

// A file or socket descriptor, closed with its owner.
class Descriptor
{
public:
    explicit Descriptor(int fd = -1)
        : m_fd(fd)
    {
    }
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int fd() const { return m_fd; }

private:
    int m_fd;
};

// The local socket is plain POSIX: Qt's local sockets live in Qt Network, which would otherwise be
// loaded at every start for this alone.
class Listener
{
public:
    Listener(int fd, std::function<void()> restore);
    ~Listener();

private:
    // A later start: it sends one line and waits for the answer.
    struct Client
    {
        explicit Client(int fd)
            : socket(fd)
            , notifier(fd, QSocketNotifier::Read)
        {
        }
        Descriptor socket;
        QSocketNotifier notifier;
        QByteArray line;
    };

    void accept();
    void read(Client *client);

    Descriptor m_socket;
    QSocketNotifier m_notifier;
    std::function<void()> m_restore;
    std::vector<std::unique_ptr<Client>> m_clients;
};

struct Guard
{
    QString base;                     // path of the lock file and the socket, less their endings
    std::unique_ptr<Descriptor> lock; // held, with flock, for the first instance's life
    std::unique_ptr<Listener> listener;
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
    for (QChar &c : display) {
        const bool plain = (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'_'
                           || c == u'.' || c == u'-';
        if (!plain)
            c = u'_';
    }
    return display;
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

// Waits up to the deadline for fd to be ready for `events`.
bool waitFor(int fd, short events, const QDeadlineTimer &deadline)
{
    pollfd entry{fd, events, 0};
    int ready;
    do
        ready = ::poll(&entry, 1, int(std::max<qint64>(deadline.remainingTime(), 0)));
    while (ready < 0 && errno == EINTR);
    return ready > 0;
}

void sendRestore(const QString &socketPath)
{
    sockaddr_un address;
    if (!socketAddress(socketPath, &address))
        return;
    // The first instance may still be starting: give it time to listen.
    const QDeadlineTimer deadline(kAnswerWaitMs);
    std::unique_ptr<Descriptor> socket;
    while (!deadline.hasExpired()) {
        socket = std::make_unique<Descriptor>(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
        if (socket->fd() >= 0 && ::connect(socket->fd(), reinterpret_cast<sockaddr *>(&address), sizeof(address)) == 0)
            break;
        socket.reset();
        QThread::msleep(50);
    }
    if (!socket || ::send(socket->fd(), kRestore.constData(), size_t(kRestore.size()), MSG_NOSIGNAL) != kRestore.size())
        return;
    QByteArray answer;
    char buffer[64];
    while (!answer.contains('\n') && waitFor(socket->fd(), POLLIN, deadline)) {
        const ssize_t got = ::recv(socket->fd(), buffer, sizeof(buffer), 0);
        if (got <= 0 && !(got < 0 && errno == EINTR))
            break;
        if (got > 0)
            answer.append(buffer, got);
    }
}

Listener::Listener(int fd, std::function<void()> restore)
    : m_socket(fd)
    , m_notifier(fd, QSocketNotifier::Read)
    , m_restore(std::move(restore))
{
    QObject::connect(&m_notifier, &QSocketNotifier::activated, [this] { accept(); });
}

Listener::~Listener() = default;

// Each client is read as its bytes come, so one that sends nothing holds nothing up.
void Listener::accept()
{
    const int fd = ::accept4(m_socket.fd(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (fd < 0)
        return;
    auto client = std::make_unique<Client>(fd);
    QObject::connect(&client->notifier, &QSocketNotifier::activated, [this, c = client.get()] { read(c); });
    m_clients.push_back(std::move(client));
}

void Listener::read(Client *client)
{
    char buffer[64];
    const ssize_t got = ::recv(client->socket.fd(), buffer, sizeof(buffer), 0);
    if (got < 0 && (errno == EAGAIN || errno == EINTR))
        return;
    if (got > 0)
        client->line.append(buffer, got);
    if (got > 0 && !client->line.contains('\n') && client->line.size() < kRestore.size())
        return;
    client->notifier.setEnabled(false);
    if (client->line == kRestore && m_restore)
        m_restore();
    ::send(client->socket.fd(), kDone.constData(), size_t(kDone.size()), MSG_NOSIGNAL);
    // Dropped once its signal has returned.
    QMetaObject::invokeMethod(
        &m_notifier,
        [this, client] {
            m_clients.erase(std::remove_if(m_clients.begin(), m_clients.end(),
                                           [client](const auto &c) { return c.get() == client; }),
                            m_clients.end());
        },
        Qt::QueuedConnection);
}

void listen(Guard &g, std::function<void()> restore)
{
    const QString socketPath = g.base + QStringLiteral(".socket");
    sockaddr_un address;
    if (!socketAddress(socketPath, &address))
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
    g.listener = std::make_unique<Listener>(fd, std::move(restore));
}

} // namespace

void OpenInstanceGuard()
{
    Guard &g = guard();
    g.base = runtimeDirectory() + QStringLiteral("/orvane-reminder-") + displayName();
    const QByteArray path = QFile::encodeName(g.base + QStringLiteral(".lock"));
    g.lock = std::make_unique<Descriptor>(::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (g.lock->fd() >= 0 && ::flock(g.lock->fd(), LOCK_EX | LOCK_NB) == 0)
        g.role = Role::First;
    else if (g.lock->fd() >= 0 && errno == EWOULDBLOCK)
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
    if (g.listener)
        ::unlink(QFile::encodeName(g.base + QStringLiteral(".socket")).constData());
    g.listener.reset();
    g.lock.reset(); // closing the file releases the lock
}
