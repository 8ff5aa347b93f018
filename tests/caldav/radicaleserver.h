#pragma once

#include <QProcess>
#include <QTemporaryDir>
#include <QUrl>

// A Radicale server of the test's own on 127.0.0.1 and a free port, with its users (htpasswd, plain text),
// its storage in a temporary folder, each user allowed only their own calendars, and TLS when given a
// certificate and key. Killed when destroyed, also when the test failed, and when the test process dies.
class RadicaleServer
{
public:
    struct Tls
    {
        QString certificate;
        QString key;
    };

    // users: "name:password" lines.
    explicit RadicaleServer(const QStringList &users, const Tls &tls = {});
    ~RadicaleServer();

    // Starts it and waits, a bounded time, until it takes connections; false with the reason logged if not.
    bool start();
    // Freezes it (SIGSTOP): it takes connections and answers nothing; resume() thaws it.
    void pause();
    void resume();
    QUrl root() const;
    // Makes a calendar named `name` in the home of `user` (one of the users given), as a client would, and
    // returns its address; an empty one, with the reason logged, when that fails.
    QUrl makeCalendar(const QString &user, const QString &name = QStringLiteral("Orvane"));
    // Where the calendar at `path` keeps its events, one file each: files written there are its events.
    QString folderOf(const QString &path) const;

private:
    QStringList m_users;
    QTemporaryDir m_dir;
    QProcess m_process;
    quint16 m_port = 0;
    bool m_tls;
};
