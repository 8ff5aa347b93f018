#pragma once

#include <QDir>
#include <QObject>
#include <QString>

class Clock;
class QWidget;

// The calendar sync as the program has it: the background sync with the account saved in 同步设置…, and that
// window. It lives in the sync module (orvane-sync beside the executable), loaded only when needed and never
// before the main window is on screen, so that start-up does not pay for Qt Network, the secret store and the
// libraries behind them.
class SyncService : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // The program changed reminders: a pass follows once no change came for a short while.
    virtual void localChange() = 0;
    // The machine woke from sleep: a pass now.
    virtual void resume() = 0;
    // Opens the one 同步设置… window over `parent`, or brings it forward when it is open.
    virtual void showSetup(QWidget *parent) = 0;

signals:
    // A pass brought the server's changes into the store.
    void synced();
    // What to tell the user, one box at a time: the syncing fails or stopped, or a pass kept both versions of
    // some reminders.
    void notice(const QString &message);
};

// Where the sync keeps its account, the password aside: $XDG_CONFIG_HOME/orvane-reminder/sync.conf, there only
// while an account is saved. A relative XDG_CONFIG_HOME names no base folder and is ignored, as the XDG base
// directories say.
inline QString syncSettingsFile()
{
    const QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    const QString base = QDir::isAbsolutePath(configHome) ? configHome : QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/orvane-reminder/sync.conf");
}

// What the sync module (orvane-sync) gives the program. The passes open the store's file at `storePath`; the
// clock must be safe to read from another thread and outlive the service.
class SyncServiceModule
{
public:
    virtual ~SyncServiceModule() = default;
    virtual SyncService *createSyncService(const QString &storePath, const Clock &clock, QObject *parent) = 0;
};

#define SyncServiceModule_iid "org.orvane.reminder.SyncService/1.0"
Q_DECLARE_INTERFACE(SyncServiceModule, SyncServiceModule_iid)
