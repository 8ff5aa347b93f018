#pragma once

#include "sync/syncaccount.h"

#include <QObject>
#include <QString>

namespace QKeychain {
class Job;
}

// The sync account the user set up, kept across runs: the calendar's address, the user and whether plain http
// was allowed in the program's settings file, the password in the desktop's secret store (Secret Service),
// never in a file. Every operation finishes later, from the event loop, with one of its signals.
class SyncSettings : public QObject
{
    Q_OBJECT

public:
    // The settings in `file`; by default syncSettingsFile().
    explicit SyncSettings(QObject *parent = nullptr);
    explicit SyncSettings(const QString &file, QObject *parent = nullptr);

    QString file() const { return m_file; }

    // loaded() with the account, its password read from the secret store; an account that is not set when
    // none was saved, one without a password when the secret store has none for it.
    void load();
    // Stores the password, then the rest; saved() and changed() once both are kept, failed() when the
    // secret store refused (the settings file is then left as it was).
    void save(const SyncAccount &account);
    // Removes the account and its password; changed() with an account that is not set.
    void forget();

signals:
    void loaded(const SyncAccount &account);
    void saved();
    // After a save or forget: the program syncs with this account from now on (none when it is not set).
    void changed(const SyncAccount &account);
    void failed(const QString &message);

private:
    SyncAccount readFile() const;
    // False when the file could not be written.
    bool writeFile(const SyncAccount &account) const;
    // A job of the secret store for the program's one entry, started; `done` runs when it finished without
    // an error (or with EntryNotFound when `missingIsFine`), failed() is emitted otherwise.
    template <class Job, class Done> void run(Job *job, bool missingIsFine, Done done);
    QString secretStoreMessage(const QKeychain::Job &job) const;

    QString m_file;
};
