#include "sync/syncscheduler.h"

#include "caldav/caldavclient.h"
#include "store/connection.h"
#include "store/reminderstore.h"
#include "sync/syncsettings.h"

#include <algorithm>
#include <memory>

// What one pass did or met.
struct SyncPassOutcome
{
    SyncSummary summary;
    CalDavError error = CalDavError::None;
    QString message; // empty when the pass succeeded
    int requests = 0;
    quint64 accountVersion = 0;
};
Q_DECLARE_METATYPE(SyncPassOutcome)

namespace {

// Failures that only the user can mend: retrying would only send the password again and again.
bool isRefusal(CalDavError error)
{
    return error == CalDavError::WrongPassword || error == CalDavError::UntrustedCertificate
           || error == CalDavError::NotACalendar || error == CalDavError::InsecureAddress
           || error == CalDavError::InvalidAddress;
}

} // namespace

// Runs passes on the scheduler's thread, with a connection to the file of its own; it lives and goes there.
class SyncPassRunner : public QObject
{
    Q_OBJECT

public:
    SyncPassRunner(const QString &storePath, const Clock &clock)
        : m_store(storePath)
        , m_clock(clock)
    {
    }

    void run(const SyncAccount &account, std::chrono::milliseconds timeout, quint64 accountVersion)
    {
        auto *client = new CalDavClient(this);
        client->setCredentials(account.user, account.password);
        client->setInsecureHttpAllowed(account.insecureHttpAllowed);
        client->setTimeout(timeout);
        auto *sync = new CalendarSync(m_store, *client, account.calendar, m_clock, this);
        connect(sync, &CalendarSync::finished, this, [this, sync, client, accountVersion] {
            emit finished(
                {sync->summary(), sync->error(), sync->errorMessage(), client->requestCount(), accountVersion});
            // The pass goes before the client whose jobs it listened to.
            sync->deleteLater();
            client->deleteLater();
        });
        sync->start();
    }

signals:
    void finished(const SyncPassOutcome &outcome);

private:
    ReminderStore m_store;
    const Clock &m_clock;
};

SyncScheduler::SyncScheduler(const QString &storePath, const Clock &clock, QObject *parent)
    : SyncScheduler(storePath, clock, Timing(), parent)
{
}

SyncScheduler::SyncScheduler(const QString &storePath, const Clock &clock, Timing timing, QObject *parent)
    : QObject(parent)
    , m_timing(timing)
    , m_runner(new SyncPassRunner(storePath, clock))
{
    qRegisterMetaType<SyncPassOutcome>();
    m_thread.setObjectName(QStringLiteral("sync"));
    m_runner->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_runner, &QObject::deleteLater);
    connect(m_runner, &SyncPassRunner::finished, this, &SyncScheduler::passDone);
    m_thread.start();

    m_nextPass.setSingleShot(true);
    connect(&m_nextPass, &QTimer::timeout, this, &SyncScheduler::requestPass);
    m_changeDelay.setSingleShot(true);
    connect(&m_changeDelay, &QTimer::timeout, this, &SyncScheduler::requestPass);
}

// A pass under way ends with its thread; what it wrote so far the next one finds.
SyncScheduler::~SyncScheduler()
{
    m_thread.quit();
    m_thread.wait();
}

QString SyncScheduler::conflictNotice(const SyncSummary &summary)
{
    if (summary.conflicts == 0)
        return QString();
    return tr("%n 个日程在这台电脑和日历服务器上都被改动了：服务器上的版本已保留，这里的改动另存为主题带“%1”的副本。",
              nullptr, summary.conflicts)
        .arg(CalendarSync::conflictMark());
}

void SyncScheduler::followSettings(SyncSettings &settings)
{
    connect(&settings, &SyncSettings::loaded, this, &SyncScheduler::setAccount);
    connect(&settings, &SyncSettings::changed, this, &SyncScheduler::setAccount);
    const QMetaObject::Connection unreadable = connect(
        &settings, &SyncSettings::failed, this,
        [this](const QString &message) {
            emit trouble(tr("日历同步没有开始：%1。解决后在同步设置中再保存一次帐户，或重新启动程序。").arg(message));
        },
        Qt::SingleShotConnection);
    connect(
        &settings, &SyncSettings::loaded, this, [unreadable] { disconnect(unreadable); }, Qt::SingleShotConnection);
    settings.load();
}

void SyncScheduler::setAccount(const SyncAccount &account)
{
    // The set-up window reads the saved account again: that alone is no reason to sync.
    if (account == m_account && !m_refused)
        return;
    m_account = account;
    ++m_accountVersion;
    m_refused = false;
    m_failures = 0;
    m_nextPass.stop();
    m_changeDelay.stop();
    m_again = false;
    requestPass();
}

void SyncScheduler::localChange()
{
    if (m_account.isSet() && !m_refused)
        m_changeDelay.start(m_timing.afterChange);
}

void SyncScheduler::resume()
{
    requestPass();
}

void SyncScheduler::requestPass()
{
    if (!m_account.isSet() || m_refused)
        return;
    if (m_running)
        m_again = true;
    else
        startPass();
}

void SyncScheduler::startPass()
{
    m_nextPass.stop();
    m_changeDelay.stop();
    m_running = true;
    m_again = false;
    QMetaObject::invokeMethod(m_runner, [runner = m_runner, account = m_account, timeout = m_timing.requestTimeout,
                                         version = m_accountVersion] { runner->run(account, timeout, version); });
}

void SyncScheduler::passDone(const SyncPassOutcome &outcome)
{
    m_running = false;
    m_requests += outcome.requests;
    const bool succeeded = outcome.message.isEmpty();
    if (succeeded)
        emit synced(outcome.summary);
    // What a pass of an earlier account met says nothing of this one.
    if (outcome.accountVersion != m_accountVersion)
        return requestPass();

    if (succeeded) {
        m_failures = 0;
        m_nextPass.start(m_timing.period);
        if (std::exchange(m_again, false))
            startPass();
        return;
    }
    // A retry comes from the back-off alone, whatever was asked meanwhile.
    m_again = false;
    if (isRefusal(outcome.error)) {
        m_refused = true;
        emit trouble(tr("日历同步已停止：%1。请在同步设置中改正后再同步。").arg(outcome.message));
        return;
    }
    ++m_failures;
    if (m_failures == m_timing.troubleAfter)
        emit trouble(tr("日历同步接连失败：%1。程序会在后台继续重试。").arg(outcome.message));
    const auto retry = m_timing.firstRetry * (qint64(1) << std::min(m_failures - 1, 20));
    m_nextPass.start(std::min<std::chrono::milliseconds>(retry, m_timing.period));
}

#include "syncscheduler.moc"
