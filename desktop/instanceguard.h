#pragma once

#include <QObject>
#include <QString>
#include <memory>

// One instance of the program per user and display. The first instance holds a lock on a file for its
// whole life and listens on a local socket; a later start finds the lock taken, sends "restore" over the
// socket, waits for the answer and ends. The system drops the lock (flock) when its holder ends in any way,
// so a killed first instance leaves nothing behind that could stop the next start. The lock and the socket
// live in $XDG_RUNTIME_DIR, or else in a folder of this user's own in the temporary folder (owned by the
// user, mode 0700, not a link); when that folder is not safe, problem() says why and the program runs
// unguarded.
class InstanceGuard : public QObject
{
    Q_OBJECT

public:
    enum class Role {
        First,     // this instance runs the program
        Later,     // another instance runs: this one asks it forward and ends
        Unguarded, // the lock could not be used: this instance runs without the guard
    };

    // Takes the lock, or learns that another instance holds it.
    InstanceGuard();
    ~InstanceGuard() override;

    Role role() const { return m_role; }
    // Why the guard is not used when the folder of its lock is not safe to use (empty otherwise): the
    // program then runs unguarded rather than let another user's folder keep it from running.
    const QString &problem() const { return m_problem; }

    // First instance: listens for later starts; each one's "restore" arrives as restoreRequested. Needs
    // the application's event loop.
    void listen();
    // Later instance: sends "restore" to the first one; finished follows its answer, or ten seconds
    // without one.
    void askFirstInstanceToRestore();

signals:
    void restoreRequested();
    void finished();

private:
    class Listener;
    class Request;

    QString m_base; // path of the lock file and the socket, less their endings
    QString m_problem;
    int m_lock = -1;
    Role m_role = Role::Unguarded;
    Listener *m_listener = nullptr;
};
