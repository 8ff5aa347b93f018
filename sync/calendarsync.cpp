#include "sync/calendarsync.h"

#include "caldav/caldavclient.h"
#include "caldav/etaglisting.h"
#include "caldav/eventmultiget.h"
#include "caldav/eventwrite.h"
#include "calendar/calendarobject.h"
#include "core/apperror.h"
#include "core/clock.h"
#include "core/text.h"
#include "store/reminderstore.h"

#include <QSet>
#include <QUuid>

namespace {

// A reminder of the server's, to be stored as the reminder `id`.
Reminder storable(Reminder reminder, qint64 id)
{
    reminder.id = id;
    reminder.day = reminder.due.date();
    return reminder;
}

} // namespace

CalendarSync::CalendarSync(ReminderStore &store, CalDavClient &client, const QUrl &calendar, const Clock &clock,
                           QObject *parent)
    : QObject(parent)
    , m_store(store)
    , m_client(client)
    , m_calendar(calendar)
    , m_clock(clock)
    , m_record(store)
    , m_repeats(store)
{
    // Hrefs resolve against the calendar as a collection.
    if (!m_calendar.path().endsWith(u'/'))
        m_calendar.setPath(m_calendar.path() + u'/');
}

QString CalendarSync::conflictMark()
{
    return QStringLiteral("（冲突）");
}

template <typename Step> void CalendarSync::guarded(Step step)
{
    try {
        step();
    } catch (const AppError &error) {
        fail(error.message());
    }
}

void CalendarSync::start()
{
    guarded([this] {
        m_state = m_record.calendar();
        m_otherCalendar = m_state.url != m_calendar.toString();
        if (m_otherCalendar) {
            m_state = SyncedCalendar{m_calendar.toString(), QString(), false};
            return pull();
        }
        for (const SyncedEvent &event : m_record.events()) {
            m_events.insert(event.uid, event);
            m_uidAt.insert(event.href, event.uid);
            if (event.reminderId != 0)
                m_uidOf.insert(event.reminderId, event.uid);
        }
        pull();
    });
}

void CalendarSync::pull()
{
    if (m_state.etagsOnly) {
        EtagListing *job = m_client.listEtags(m_calendar);
        connect(job, &CalDavJob::finished, this, [this, job] {
            job->deleteLater();
            if (job->error() != CalDavError::None)
                return fail(job->error());
            listed(job->events());
        });
        return;
    }
    SyncCollection *job = m_client.syncCollection(m_calendar, m_state.syncToken);
    const bool fromStart = m_state.syncToken.isEmpty();
    connect(job, &CalDavJob::finished, this, [this, job, fromStart] { collected(job, fromStart); });
}

void CalendarSync::collected(SyncCollection *job, bool fromStart)
{
    job->deleteLater();
    if (job->error() == CalDavError::SyncTokenExpired && !fromStart) {
        m_state.syncToken.clear();
        return pull();
    }
    // A server without sync-collection refuses the report itself.
    if (job->error() == CalDavError::Rejected && fromStart) {
        m_state.etagsOnly = true;
        return pull();
    }
    if (job->error() != CalDavError::None)
        return fail(job->error());
    m_state.syncToken = job->syncToken();
    if (!fromStart)
        return fetch(job->changed(), job->removed());
    // The whole calendar: what is gone from it shows only against the records.
    listed(job->changed());
}

void CalendarSync::listed(const QList<EventVersion> &listed)
{
    QSet<QString> present;
    for (const EventVersion &version : listed)
        present.insert(version.href);
    QStringList removed;
    for (const SyncedEvent &event : std::as_const(m_events)) {
        if (!event.etag.isEmpty() && !present.contains(event.href))
            removed << event.href;
    }
    fetch(listed, removed);
}

void CalendarSync::fetch(const QList<EventVersion> &changed, const QStringList &removed)
{
    QStringList hrefs;
    for (const EventVersion &version : changed) {
        const auto known = m_events.constFind(m_uidAt.value(version.href));
        // Our own pushes come back with the etags recorded for them.
        if (known == m_events.cend() || known->etag.isEmpty() || known->etag != version.etag)
            hrefs << version.href;
    }
    if (hrefs.isEmpty())
        return guarded([&] { merge({}, removed); });
    EventMultiget *job = m_client.multiget(m_calendar, hrefs);
    connect(job, &CalDavJob::finished, this, [this, job, removed] {
        job->deleteLater();
        if (job->error() != CalDavError::None)
            return fail(job->error());
        guarded([&] { merge(job->events(), removed + job->missing()); });
    });
}

void CalendarSync::merge(const QList<EventData> &events, const QStringList &removed)
{
    const qsizetype count = events.size() + removed.size();
    for (qsizetype from = 0; from == 0 || from < count; from += kBatch)
        mergeBatch(events, removed, from, std::min(count, from + kBatch));
    pushNext();
}

// The events from `from` to `to`, then the removals, in one transaction: the first forgets another calendar's
// records, the last plans the pushes and keeps the new token.
void CalendarSync::mergeBatch(const QList<EventData> &events, const QStringList &removed, qsizetype from, qsizetype to)
{
    m_store.transaction([&] {
        m_reminders.clear();
        m_rules.clear();
        m_unlinked.clear();
        // Read inside the transaction, so that no other program's change in between is overwritten.
        const QHash<qint64, Repetition> rules = m_repeats.all();
        m_store.forEachInTimeOrder({}, {}, [&](const Reminder &reminder) {
            if (reminder.id <= 0)
                return;
            m_reminders.insert(reminder.id, reminder);
            if (const auto rule = rules.constFind(reminder.rowid); rule != rules.cend())
                m_rules.insert(reminder.id, *rule);
        });
        for (const Reminder &reminder : std::as_const(m_reminders)) {
            if (!m_uidOf.contains(reminder.id) && reminder.due.isValid())
                m_unlinked.insert(fingerprintOf(reminder), reminder.id);
        }
        m_record.prepare();
        if (m_otherCalendar && from == 0)
            m_record.forgetAll();
        for (qsizetype i = from; i < to; ++i) {
            if (i < events.size())
                mergeEvent(events.at(i));
            else
                mergeRemoval(removed.at(i - events.size()));
        }
        if (to == events.size() + removed.size()) {
            plan();
            m_record.setCalendar(m_state);
        }
    });
}

QString CalendarSync::fingerprintOf(const Reminder &reminder) const
{
    return reminderFingerprint(reminder, ruleOf(reminder.id));
}

const Repetition *CalendarSync::ruleOf(qint64 id) const
{
    const auto rule = m_rules.constFind(id);
    return rule == m_rules.cend() ? nullptr : &*rule;
}

qint64 CalendarSync::addHere(Reminder reminder, const std::optional<Repetition> &repetition)
{
    reminder.id = reminder.rowid = m_store.add(reminder);
    m_reminders.insert(reminder.id, reminder);
    if (repetition) {
        m_repeats.keep(reminder.rowid, *repetition);
        m_rules.insert(reminder.id, *repetition);
    }
    return reminder.id;
}

void CalendarSync::replaceHere(const Reminder &reminder, const std::optional<Repetition> &repetition)
{
    m_store.update(reminder);
    m_reminders.insert(reminder.id, reminder);
    if (repetition) {
        m_repeats.keep(reminder.rowid, *repetition);
        m_rules.insert(reminder.id, *repetition);
    } else if (m_rules.remove(reminder.id) > 0) {
        m_repeats.forget(reminder.rowid);
    }
}

void CalendarSync::keep(const SyncedEvent &event)
{
    const auto old = m_events.constFind(event.uid);
    if (old != m_events.cend()) {
        m_uidAt.remove(old->href);
        m_uidOf.remove(old->reminderId);
    }
    m_events.insert(event.uid, event);
    m_uidAt.insert(event.href, event.uid);
    if (event.reminderId != 0)
        m_uidOf.insert(event.reminderId, event.uid);
    m_record.keep(event);
}

void CalendarSync::mergeEvent(const EventData &data)
{
    const CalendarObject object = readCalendarObject(data.ics, m_clock.now());
    const QString uid = object.uid.isEmpty() ? data.href : object.uid;
    // An event may come under another href than recorded, and leave its old one.
    QString knownUid = m_events.contains(uid) ? uid : m_uidAt.value(data.href);
    SyncedEvent event = m_events.value(knownUid);
    if (!knownUid.isEmpty() && knownUid != uid) {
        m_events.remove(knownUid);
        m_record.forget(knownUid);
    }
    event.uid = uid;
    event.href = data.href;
    event.etag = data.etag;
    event.ics = data.ics;
    const auto local = m_reminders.find(event.reminderId);
    if (!object.reminder) {
        // Left on the server as it is (another program gave a series dates of their own, say). A reminder it
        // made stays here, still its event's, so that it does not go back as a second one; changed here as well,
        // it is a reminder of its own, to be stored as a new event.
        ++m_summary.skipped;
        if (local == m_reminders.end() || fingerprintOf(*local) != event.fingerprint) {
            event.reminderId = 0;
            event.fingerprint.clear();
        }
        return keep(event);
    }
    const QString theirs = reminderFingerprint(*object.reminder, object.repetition ? &*object.repetition : nullptr);
    if ((event.reminderId == 0 || local == m_reminders.end()) && m_unlinked.contains(theirs)) {
        // The same reminder, made on both sides before they first synced (imported from one file, say).
        event.reminderId = m_unlinked.take(theirs);
    } else if (event.reminderId == 0 || local == m_reminders.end()) {
        // New there, or deleted here while it changed there: it comes (back).
        event.reminderId = addHere(storable(*object.reminder, 0), object.repetition);
        ++m_summary.added;
    } else if (const Reminder ours = *local; fingerprintOf(ours) != theirs) {
        if (fingerprintOf(ours) != event.fingerprint) {
            Reminder copy = ours;
            copy.subject += conflictMark();
            const Repetition *rule = ruleOf(ours.id);
            addHere(copy, rule ? std::optional(*rule) : std::nullopt);
            ++m_summary.conflicts;
        }
        Reminder replaced = storable(*object.reminder, ours.id);
        replaced.rowid = ours.rowid;
        replaceHere(replaced, object.repetition);
        ++m_summary.changed;
    }
    event.fingerprint = theirs;
    keep(event);
}

void CalendarSync::mergeRemoval(const QString &href)
{
    const QString uid = m_uidAt.value(href);
    if (uid.isEmpty())
        return;
    SyncedEvent event = m_events.value(uid);
    const auto local = m_reminders.constFind(event.reminderId);
    if (event.reminderId != 0 && local != m_reminders.cend() && fingerprintOf(*local) != event.fingerprint) {
        // Changed here while deleted there: it goes back to the server as new.
        event.etag.clear();
        event.fingerprint.clear();
        return keep(event);
    }
    if (local != m_reminders.cend()) {
        const qint64 id = local->id;
        m_repeats.remove(id);
        m_reminders.remove(id);
        m_rules.remove(id);
        ++m_summary.removed;
    }
    m_events.remove(uid);
    m_uidAt.remove(href);
    m_uidOf.remove(event.reminderId);
    m_record.forget(uid);
}

void CalendarSync::plan()
{
    const QDateTime stamp = m_clock.now();
    for (const Reminder &reminder : std::as_const(m_reminders)) {
        // A time that no reader understands cannot travel.
        if (!reminder.due.isValid() || m_uidOf.contains(reminder.id))
            continue;
        const QString uid = QStringLiteral("orvane-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
        const QString href = m_calendar.path() + uid + QStringLiteral(".ics");
        // Recorded before it is sent: a pass cut off after the server took it finds it as ours.
        keep({uid, reminder.id, href, QString(), QString(), QByteArray()});
    }
    for (const SyncedEvent &event : std::as_const(m_events)) {
        if (event.reminderId == 0)
            continue;
        const auto local = m_reminders.constFind(event.reminderId);
        if (local == m_reminders.cend()) {
            m_pushes.append({PushKind::Remove, event});
            continue;
        }
        const QString ours = fingerprintOf(*local);
        if (!local->due.isValid() || (!event.etag.isEmpty() && ours == event.fingerprint))
            continue;
        SyncedEvent stored = event;
        stored.fingerprint = ours;
        const Repetition *rule = ruleOf(local->id);
        stored.ics = changedCalendarObject(event.ics, *local, rule, stamp);
        if (stored.ics.isEmpty())
            stored.ics = calendarObjectOf(*local, rule, event.uid, stamp);
        m_pushes.append({event.etag.isEmpty() ? PushKind::Add : PushKind::Change, stored});
    }
}

QUrl CalendarSync::hrefUrl(const QString &href) const
{
    return m_calendar.resolved(QUrl(href));
}

void CalendarSync::pushNext()
{
    if (m_nextPush == m_pushes.size())
        return recordPushes();
    const Push &push = m_pushes.at(m_nextPush);
    EventWrite *job = push.kind == PushKind::Remove
                          ? m_client.deleteEvent(hrefUrl(push.event.href), push.event.etag)
                          : m_client.putEvent(hrefUrl(push.event.href), push.event.ics, push.event.etag);
    connect(job, &CalDavJob::finished, this, [this, job] { pushed(job); });
}

void CalendarSync::pushed(EventWrite *job)
{
    job->deleteLater();
    Push push = m_pushes.at(m_nextPush++);
    if (job->error() == CalDavError::None) {
        push.event.etag = job->etag();
        m_taken.append(push);
        if (push.kind == PushKind::Remove)
            ++m_summary.deleted;
        else
            ++m_summary.uploaded;
    } else if (job->error() != CalDavError::Conflict) {
        // What the server took so far is recorded; the rest waits for the next pass.
        m_error = job->error();
        m_errorMessage = job->errorMessage();
        m_nextPush = m_pushes.size();
    }
    pushNext();
}

void CalendarSync::recordPushes()
{
    try {
        for (qsizetype from = 0; from < m_taken.size(); from += kBatch) {
            m_store.transaction([&] {
                for (const Push &push : m_taken.mid(from, kBatch)) {
                    if (push.kind == PushKind::Remove)
                        m_record.forget(push.event.uid);
                    else
                        m_record.keep(push.event);
                }
            });
        }
    } catch (const AppError &error) {
        if (m_errorMessage.isEmpty())
            m_errorMessage = error.message();
    }
    done();
}

void CalendarSync::fail(CalDavError error)
{
    m_error = error;
    m_errorMessage = caldavErrorMessage(error);
    done();
}

void CalendarSync::fail(const QString &message)
{
    m_errorMessage = message;
    done();
}

void CalendarSync::done()
{
    // Always from the event loop, as the client's jobs finish.
    QMetaObject::invokeMethod(this, &CalendarSync::finished, Qt::QueuedConnection);
}
