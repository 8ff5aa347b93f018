#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class ReminderStore;

// One event of the synced calendar as the last pass left it.
struct SyncedEvent
{
    QString uid;
    qint64 reminderId = 0; // 0: the event makes no reminder here and stays on the server as it is
    QString href;
    QString etag;        // empty: not (yet) known to be stored on the server
    QString fingerprint; // the reminder's fields when both sides last agreed; empty: they never did
    QByteArray ics;      // the event's text as last seen or stored there; empty: none
};

// The synced calendar's state.
struct SyncedCalendar
{
    QString url;
    QString syncToken;
    bool etagsOnly = false; // the server has no sync-collection
};

// What the sync keeps in the database file beside 日程提醒 (syncTableStatements()). Reads of a file that
// never synced give nothing; writes belong inside a store transaction, after prepare(). Failures throw
// AppError, as the store's do.
class SyncRecord
{
public:
    explicit SyncRecord(ReminderStore &store);

    // Makes the tables where they are missing.
    void prepare();
    SyncedCalendar calendar();
    void setCalendar(const SyncedCalendar &calendar);
    QList<SyncedEvent> events();
    // Keeps the event under its UID, in place of what was kept under that UID or at that href.
    void keep(const SyncedEvent &event);
    void forget(const QString &uid);
    void forgetAll();

private:
    bool hasTables();

    ReminderStore &m_store;
};
