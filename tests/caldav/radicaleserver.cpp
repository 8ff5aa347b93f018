#include "radicaleserver.h"

#include "caldav/caldavclient.h"
#include "caldav/calendarcreation.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <csignal>
#include <memory>
#include <sys/prctl.h>

namespace {

bool writeFile(const QString &path, const QString &text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) >= 0;
}

quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}

} // namespace

RadicaleServer::RadicaleServer(const QStringList &users, const Tls &tls)
    : m_users(users)
    , m_port(freePort())
    , m_tls(!tls.certificate.isEmpty())
{
    const QString usersFile = m_dir.filePath(QStringLiteral("users"));
    writeFile(usersFile, users.join(QLatin1Char('\n')) + QLatin1Char('\n'));
    QString config = QStringLiteral("[server]\nhosts = 127.0.0.1:%1\n").arg(m_port);
    if (m_tls)
        config += QStringLiteral("ssl = True\ncertificate = %1\nkey = %2\n").arg(tls.certificate, tls.key);
    config += QStringLiteral("[auth]\ntype = htpasswd\nhtpasswd_filename = %1\nhtpasswd_encryption = plain\n"
                             "[rights]\ntype = owner_only\n"
                             "[storage]\nfilesystem_folder = %2\n"
                             "[logging]\nlevel = warning\n")
                  .arg(usersFile, m_dir.filePath(QStringLiteral("collections")));
    writeFile(m_dir.filePath(QStringLiteral("config")), config);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // A test that crashes takes its server along.
    m_process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
}

RadicaleServer::~RadicaleServer()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    ::kill(pid_t(m_process.processId()), SIGKILL); // also ends a paused server
    m_process.waitForFinished(10000);
}

bool RadicaleServer::start()
{
    // Debian's radicale is a module of Debian's Python, which need not be the python3 first on PATH.
    m_process.start(QStringLiteral("/usr/bin/python3"),
                    {QStringLiteral("-m"), QStringLiteral("radicale"), QStringLiteral("--config"),
                     m_dir.filePath(QStringLiteral("config"))});
    if (!m_process.waitForStarted(10000)) {
        qWarning("radicale did not start: %s", qPrintable(m_process.errorString()));
        return false;
    }
    const QDeadlineTimer deadline(20000);
    while (!deadline.hasExpired() && m_process.state() == QProcess::Running) {
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, m_port);
        if (probe.waitForConnected(1000))
            return true;
        QThread::msleep(100);
    }
    qWarning("radicale does not take connections on port %d", m_port);
    return false;
}

void RadicaleServer::pause()
{
    ::kill(pid_t(m_process.processId()), SIGSTOP);
}

void RadicaleServer::resume()
{
    ::kill(pid_t(m_process.processId()), SIGCONT);
}

QString RadicaleServer::folderOf(const QString &path) const
{
    return m_dir.filePath(QStringLiteral("collections/collection-root") + path);
}

QUrl RadicaleServer::root() const
{
    return QUrl(QStringLiteral("%1://127.0.0.1:%2/").arg(m_tls ? "https" : "http").arg(m_port));
}

QUrl RadicaleServer::makeCalendar(const QString &user, const QString &name)
{
    const QString prefix = user + u':';
    const auto account = std::find_if(m_users.cbegin(), m_users.cend(),
                                      [&prefix](const QString &line) { return line.startsWith(prefix); });
    if (account == m_users.cend()) {
        qWarning("radicale has no user %s", qPrintable(user));
        return QUrl();
    }
    CalDavClient client;
    client.setCredentials(user, account->mid(prefix.size()));
    const std::unique_ptr<CalendarCreation> creation(
        client.createCalendar(root().resolved(QUrl(QStringLiteral("/%1/").arg(user))), name));
    bool finished = false;
    QEventLoop loop;
    QObject::connect(creation.get(), &CalDavJob::finished, &loop, [&] {
        finished = true;
        loop.quit();
    });
    QTimer::singleShot(20000, &loop, &QEventLoop::quit);
    loop.exec();
    if (!finished || creation->error() != CalDavError::None) {
        qWarning("radicale made no calendar for %s: %s", qPrintable(user),
                 finished ? qPrintable(creation->errorMessage()) : "no answer");
        return QUrl();
    }
    return creation->calendar().url;
}
