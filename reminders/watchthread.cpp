#include "reminders/watchthread.h"

#include "core/apperror.h"
#include "reminders/reminderwatch.h"
#include "store/reminderstore.h"

// The watch and its connection to the file; made here, it lives and goes on the watch's thread.
class WatchLooks : public QObject
{
    Q_OBJECT

public:
    WatchLooks(const QString &storePath, const Clock &clock)
        : m_store(storePath)
        , m_watch(m_store, clock, this)
    {
        connect(&m_watch, &ReminderWatch::remindersDue, this, &WatchLooks::remindersDue);
    }

    void look()
    {
        // Nothing may escape a call that Qt makes: a failure goes back as its message.
        emit looked(failureOf([this] { m_watch.check(); }).value_or(QString()));
    }

signals:
    void remindersDue(const QList<Reminder> &reminders);
    void looked(const QString &failure);

private:
    ReminderStore m_store;
    ReminderWatch m_watch;
};

WatchThread::WatchThread(const QString &storePath, const Clock &clock, QObject *parent)
    : QObject(parent)
    , m_looks(new WatchLooks(storePath, clock))
{
    m_thread.setObjectName(QStringLiteral("watch"));
    m_looks->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_looks, &QObject::deleteLater);
    connect(m_looks, &WatchLooks::remindersDue, this, &WatchThread::remindersDue);
    connect(m_looks, &WatchLooks::looked, this, &WatchThread::looked);
    m_thread.start();
}

WatchThread::~WatchThread()
{
    m_thread.quit();
    m_thread.wait();
}

void WatchThread::check()
{
    QMetaObject::invokeMethod(m_looks, &WatchLooks::look, Qt::QueuedConnection);
}

#include "watchthread.moc"
