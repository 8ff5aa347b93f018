#pragma once

#include "caldav/caldaverror.h"
#include "caldav/synccollection.h"
#include "store/reminder.h"
#include "store/reminderrepeats.h"
#include "store/syncrecord.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QUrl>
#include <optional>

class CalDavClient;
class CalDavJob;
class Clock;
class EventWrite;
class ReminderStore;
struct EventData;

// What one pass did.
struct SyncSummary
{
    int added = 0;     // reminders that came from the server
    int changed = 0;   // reminders changed to the server's version
    int removed = 0;   // reminders removed because their events were
    int conflicts = 0; // reminders changed on both sides: the server's version in place, ours as a copy
    int uploaded = 0;  // events stored on the server
    int deleted = 0;   // events removed from the server
    int skipped = 0;   // events that make no reminder here, left as they are
};

// One pass of the two-way sync of the store's reminders with one CalDAV calendar. A reminder is a VEVENT
// (calendarObjectOf) under a UID that it keeps for its life; a repeating one is its series, with its rule and
// exceptions, so that its row moving on to the next occurrence is no change, nor is a snooze, kept apart.
// A series that the desk's clock cannot follow stays on the server as it is, as do events without a reminder.
//
// The pass: pull what changed on the server since the last pass (sync-collection from the kept token, or
// the ETag listing where the server has none) and fetch those events; then bring the server's changes in,
// each reminder with its record, in store transactions of kBatch events, so that the windows' reads of the
// file never wait long behind a pass that brings thousands; the last gives new reminders their UIDs and keeps
// the new token; then push the local additions (If-None-Match: *), changes and deletions (If-Match), one
// request each; then record what the server took, in transactions of the same size. A change here is what
// differs from the fingerprint kept at the last agreement, so that changes that other programs make to the
// file count as well; each transaction reads the reminders again for that.
// Both sides changed: the server's version takes the reminder, ours comes back as a copy marked 冲突, to
// be pushed as new. Deleted here and changed there: it comes back. A push the server refuses as a conflict
// waits for the next pass, which pulls the change first.
// A failure at any point leaves the records such that the next pass repeats what is missing: an event found
// on the server with the same fields as its reminder is taken as agreement, never as a conflict or a copy.
class CalendarSync : public QObject
{
    Q_OBJECT

public:
    CalendarSync(ReminderStore &store, CalDavClient &client, const QUrl &calendar, const Clock &clock,
                 QObject *parent = nullptr);

    // Starts the pass; finished() follows, from the event loop.
    void start();

    // Empty when the pass succeeded.
    QString errorMessage() const { return m_errorMessage; }
    CalDavError error() const { return m_error; }
    const SyncSummary &summary() const { return m_summary; }

    // What the conflict copy's subject gets.
    static QString conflictMark();

signals:
    void finished();

private:
    // Events merged, or pushes recorded, in one store transaction: small enough to stay in SQLite's page cache,
    // so that the file is locked against reading only while each commits.
    static constexpr qsizetype kBatch = 500;

    enum class PushKind { Add, Change, Remove };
    struct Push
    {
        PushKind kind;
        SyncedEvent event; // as it is to be recorded once the server took it, with the text sent
    };

    void pull();
    void collected(SyncCollection *job, bool fromStart);
    void listed(const QList<EventVersion> &listed);
    void fetch(const QList<EventVersion> &changed, const QStringList &removed);
    void merge(const QList<EventData> &events, const QStringList &removed);
    void mergeBatch(const QList<EventData> &events, const QStringList &removed, qsizetype from, qsizetype to);
    void mergeEvent(const EventData &event);
    void mergeRemoval(const QString &href);
    void plan();
    void pushNext();
    void pushed(EventWrite *job);
    void recordPushes();
    void fail(CalDavError error);
    void fail(const QString &message);
    void done();
    // Runs `step` and turns a store failure into the pass's failure.
    template <typename Step> void guarded(Step step);
    QUrl hrefUrl(const QString &href) const;
    QString fingerprintOf(const Reminder &reminder) const;
    // The rule of the reminder with this id; null when it does not repeat.
    const Repetition *ruleOf(qint64 id) const;
    // Stores a reminder of the server's here, with its rule; returns its id.
    qint64 addHere(Reminder reminder, const std::optional<Repetition> &repetition);
    // Writes the server's version over the reminder (by its id and row).
    void replaceHere(const Reminder &reminder, const std::optional<Repetition> &repetition);
    void keep(const SyncedEvent &event);

    ReminderStore &m_store;
    CalDavClient &m_client;
    QUrl m_calendar;
    const Clock &m_clock;
    SyncRecord m_record;
    ReminderRepeats m_repeats;

    SyncedCalendar m_state;
    bool m_otherCalendar = false;           // the records are of another calendar, forgotten by this pass
    QHash<QString, SyncedEvent> m_events;   // by UID
    QHash<QString, QString> m_uidAt;        // by href
    QHash<qint64, Reminder> m_reminders;    // by id
    QHash<qint64, Repetition> m_rules;      // of the repeating ones among them, by id
    QHash<qint64, QString> m_uidOf;         // by reminder id
    QMultiHash<QString, qint64> m_unlinked; // the reminders without an event, by fingerprint
    QList<Push> m_pushes;
    qsizetype m_nextPush = 0;
    QList<Push> m_taken;

    SyncSummary m_summary;
    CalDavError m_error = CalDavError::None;
    QString m_errorMessage;
};
