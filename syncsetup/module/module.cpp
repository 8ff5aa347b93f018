// The sync module: the background sync and the 同步设置… window, which the program loads when it first needs them.
#include "sync/syncscheduler.h"
#include "sync/syncservice.h"
#include "sync/syncsettings.h"
#include "syncsetup/syncsetupdialog.h"

#include <QPointer>

namespace {

// The scheduler follows the saved account, which the set-up window changes.
class SchedulerSyncService : public SyncService
{
public:
    SchedulerSyncService(const QString &storePath, const Clock &clock, QObject *parent)
        : SyncService(parent)
        , m_scheduler(storePath, clock)
    {
        connect(&m_scheduler, &SyncScheduler::synced, this, [this](const SyncSummary &summary) {
            emit synced();
            if (const QString conflicts = SyncScheduler::conflictNotice(summary); !conflicts.isEmpty())
                emit notice(conflicts);
        });
        connect(&m_scheduler, &SyncScheduler::trouble, this, &SyncService::notice);
        m_scheduler.followSettings(m_settings);
    }

    // The window refers to the settings: it goes first.
    ~SchedulerSyncService() override { delete m_setup; }

    void localChange() override { m_scheduler.localChange(); }
    void resume() override { m_scheduler.resume(); }

    void showSetup(QWidget *parent) override
    {
        if (!m_setup) {
            m_setup = new SyncSetupDialog(m_settings, parent);
            m_setup->setAttribute(Qt::WA_DeleteOnClose);
            m_setup->open();
        }
        m_setup->raise();
        m_setup->activateWindow();
    }

private:
    SyncSettings m_settings;
    SyncScheduler m_scheduler;
    QPointer<SyncSetupDialog> m_setup;
};

} // namespace

class SyncModule : public QObject, public SyncServiceModule
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID SyncServiceModule_iid)
    Q_INTERFACES(SyncServiceModule)

public:
    SyncService *createSyncService(const QString &storePath, const Clock &clock, QObject *parent) override
    {
        return new SchedulerSyncService(storePath, clock, parent);
    }
};

#include "module.moc"
