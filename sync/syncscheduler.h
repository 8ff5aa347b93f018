#pragma once

#include "caldav/caldaverror.h"
#include "sync/calendarsync.h"
#include "sync/syncaccount.h"

#include <QObject>
#include <QThread>
#include <QTimer>
#include <chrono>

class Clock;
class SyncPassRunner;
class SyncSettings;
struct SyncPassOutcome;

// When the program syncs its reminders with the account's calendar, in the background: a pass at once when an
// account is set, then every period, a short while after the last of a burst of local changes, and on a wake
// from sleep. One pass at a time; asking during a pass runs one more after it.
//
// Each pass runs on a thread of its own with its own connection to the store's file, so that the windows
// wait at most for one of its store transactions, never for the network or the calendar's parsing.
//
// Failures: one the server may mend by itself (no connection, a timeout, a 5xx, an answer not understood, the
// store busy) is retried quietly after the first retry delay, doubling up to the period; trouble() says so
// once only after `troubleAfter` passes in a row failed, and not again before a pass succeeds. One that only
// the user can mend (a wrong password, a certificate not trusted, no calendar at the address, an address
// refused) is said at once, and no pass is made until the account is set again.
class SyncScheduler : public QObject
{
    Q_OBJECT

public:
    struct Timing
    {
        std::chrono::milliseconds period = std::chrono::minutes(5);
        std::chrono::milliseconds afterChange = std::chrono::seconds(3);
        std::chrono::milliseconds firstRetry = std::chrono::seconds(30);
        std::chrono::milliseconds requestTimeout = std::chrono::seconds(30);
        int troubleAfter = 3;
    };

    // Passes open the store's file at `storePath`; the clock is the program's (it must be safe to read from
    // another thread).
    SyncScheduler(const QString &storePath, const Clock &clock, Timing timing, QObject *parent = nullptr);
    SyncScheduler(const QString &storePath, const Clock &clock, QObject *parent = nullptr);
    ~SyncScheduler() override;

    // What to tell the user of a pass that kept both versions of some reminders; empty when it kept none.
    static QString conflictNotice(const SyncSummary &summary);

    // Syncs with the account of `settings`: the one saved at the last run, loaded now, then each one saved or
    // forgotten in its place. A saved account whose password the secret store does not give now (no store,
    // or one that refuses) is told once by trouble(), and nothing syncs until an account is saved; later
    // failures of the settings are the set-up window's to tell.
    void followSettings(SyncSettings &settings);

    // Requests sent by all passes so far.
    int requestCount() const { return m_requests; }
    bool isPassRunning() const { return m_running; }

public slots:
    // The account to sync with: a pass follows at once. An account that is not set stops the syncing.
    void setAccount(const SyncAccount &account);
    // The program changed reminders: a pass follows once no change came for a short while.
    void localChange();
    // The machine woke from sleep: a pass now, unless the account was refused.
    void resume();

signals:
    // A pass succeeded.
    void synced(const SyncSummary &summary);
    // The syncing fails, or stopped until the account is set again: what to tell the user.
    void trouble(const QString &message);

private:
    void requestPass();
    void startPass();
    void passDone(const SyncPassOutcome &outcome);

    Timing m_timing;
    SyncAccount m_account;
    QThread m_thread;
    SyncPassRunner *m_runner;
    QTimer m_nextPass;
    QTimer m_changeDelay;
    bool m_running = false;
    bool m_again = false;   // asked for while a pass ran
    bool m_refused = false; // the account was refused: nothing until it is set again
    int m_failures = 0;     // passes in a row that failed
    int m_requests = 0;
    quint64 m_accountVersion = 0; // tells a pass of an earlier account
};
