#include "calendar/icsimport.h"

#include "calendar/calendarobject.h"
#include "calendar/icsevent.h"
#include "calendar/icsreader.h"
#include "calendar/inputerror.h"
#include "core/text.h"
#include "store/calendarrecord.h"
#include "store/reminderrepeats.h"
#include "store/reminderstore.h"

#include <QTextStream>
#include <algorithm>
#include <vector>

namespace {

QString reminders(qsizetype count)
{
    return count == 1 ? QStringLiteral("1 reminder") : QStringLiteral("%1 reminders").arg(count);
}

QString quoted(const QString &subject)
{
    constexpr int kShown = 60;
    return u'"' + withVisibleControls(subject.size() > kShown ? subject.left(kShown - 1) + u'…' : subject) + u'"';
}

} // namespace

IcsImport::IcsImport(ReminderStore &store, const QDateTime &now, bool dryRun)
    : m_store(store)
    , m_record(store)
    , m_now(now)
    , m_dryRun(dryRun)
{
}

void IcsImport::run(QIODevice &input, QTextStream &out, QTextStream &error)
{
    if (m_dryRun) {
        m_hasRecord = m_record.hasImports();
        readCalendar(input, out, error);
    } else {
        try {
            m_store.transaction([&] {
                m_record.prepare();
                m_hasRecord = true;
                readCalendar(input, out, error);
            });
        } catch (const InputError &failure) {
            throw InputError(failure.message() + QStringLiteral("; nothing was imported"));
        }
    }
    out << (m_dryRun ? "would import " : "imported ") << reminders(m_added) << " (" << m_known << " already imported, ";
    if (m_updated > 0)
        out << m_updated << (m_dryRun ? " to update, " : " updated, ");
    out << m_skipped << " skipped)";
    if (m_rounded > 0)
        out << "; " << m_rounded << " rounded down to their minute, as reminders fall on minutes";
    out << Qt::endl;
}

void IcsImport::readCalendar(QIODevice &input, QTextStream &out, QTextStream &error)
{
    IcsReader reader(input);
    EventConverter converter(m_now);
    // Recurring events and their overrides wait for each other, and events for a VTIMEZONE that may come
    // later: they are converted at the end, overrides first.
    std::vector<IcsReader::Part> held;
    while (std::optional<IcsReader::Part> part = reader.next()) {
        for (const QString &note : std::as_const(part->notes))
            error << "orvane-db: " << note << Qt::endl;
        const icalcomponent_kind kind = part->component ? icalcomponent_isa(part->component.get()) : ICAL_NO_COMPONENT;
        if (kind == ICAL_VTIMEZONE_COMPONENT && part->problem.isEmpty()) {
            converter.addTimeZone(std::move(part->component));
            continue;
        }
        if (kind != ICAL_VEVENT_COMPONENT) {
            ++m_skipped;
            const QString name = part->component ? QString::fromLatin1(icalcomponent_kind_to_string(kind))
                                                 : QStringLiteral("a component");
            error << "orvane-db: line " << part->line << ": skipped " << name << ": "
                  << (part->problem.isEmpty() ? QStringLiteral("only events become reminders") : part->problem)
                  << Qt::endl;
            continue;
        }
        icalcomponent *event = part->component.get();
        if (EventConverter::isRecurring(event) || EventConverter::isOverride(event)) {
            held.push_back(std::move(*part));
            continue;
        }
        EventReminders made = converter.convert(event);
        if (made.unknownZone)
            held.push_back(std::move(*part));
        else
            take(*part, made, out, error);
    }
    std::stable_partition(held.begin(), held.end(),
                          [](const IcsReader::Part &part) { return EventConverter::isOverride(part.component.get()); });
    for (const IcsReader::Part &part : held) {
        icalcomponent *event = part.component.get();
        if (EventConverter::isOverride(event)) {
            converter.addOverride(event);
            // A cancelled occurrence is only left out.
            icalproperty *status = icalcomponent_get_first_property(event, ICAL_STATUS_PROPERTY);
            if (status && icalproperty_get_status(status) == ICAL_STATUS_CANCELLED)
                continue;
        }
        take(part, converter.convert(event), out, error);
    }
    if (reader.firstNonUtf8Line() > 0) {
        error << "orvane-db: line " << reader.firstNonUtf8Line()
              << ": the text is not UTF-8 (from here on, what could not be read shows as \uFFFD)" << Qt::endl;
    }
}

void IcsImport::take(const IcsReader::Part &part, const EventReminders &made, QTextStream &out, QTextStream &error)
{
    if (!made.problem.isEmpty() || !part.problem.isEmpty()) {
        ++m_skipped;
        error << "orvane-db: line " << part.line << ": skipped event " << quoted(made.subject) << ": "
              << withVisibleControls(made.problem.isEmpty() ? part.problem : made.problem) << Qt::endl;
        return;
    }
    int known = 0;
    int updated = 0;
    for (const EventReminder &reminder : std::as_const(made.reminders)) {
        if (!claim(reminder)) {
            if (update(reminder))
                ++updated;
            else
                ++known;
            continue;
        }
        if (!m_dryRun) {
            const qint64 row = m_store.add(reminder.reminder);
            if (reminder.repetition) {
                ReminderRepeats(m_store).keep(row, *reminder.repetition);
                m_record.keepSeries(reminder.uid, {row, reminderFingerprint(reminder.reminder, &*reminder.repetition)});
            }
        }
        ++m_added;
    }
    m_known += known;
    m_updated += updated;
    m_rounded += made.rounded;
    if (!made.recurring)
        return;
    if (made.ended) {
        out << "line " << part.line << ": " << quoted(made.subject) << " repeats: its series has ended" << Qt::endl;
        return;
    }
    if (made.reminders.size() == 1 && made.reminders.first().repetition) {
        out << "line " << part.line << ": " << quoted(made.subject) << " repeats by its rule: 1 reminder, next at "
            << made.reminders.first().reminder.due.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
            << (updated > 0 ? (m_dryRun ? " (to update)" : " (updated)")
                : known > 0 ? " (already imported)"
                            : "")
            << Qt::endl;
        return;
    }
    out << "line " << part.line << ": " << quoted(made.subject) << " repeats: " << reminders(made.reminders.size())
        << " over the next 366 days";
    if (known > 0)
        out << " (" << known << " already imported)";
    if (made.capped)
        out << ", no more than " << EventConverter::kMostOccurrences << " for one event";
    if (made.cutAt.isValid()) {
        out << "; its rule was cut at " << made.cutAt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) << " after "
            << EventConverter::kMostSteps << " steps";
    }
    out << Qt::endl;
}

bool IcsImport::update(const EventReminder &made)
{
    if (!made.repetition || !m_hasRecord)
        return false;
    const std::optional<ImportedSeries> before = m_record.series(made.uid);
    const QString fingerprint = reminderFingerprint(made.reminder, &*made.repetition);
    // A reminder deleted since, or no longer repeating, was taken out of the series here: it stays so.
    ReminderRepeats repeats(m_store);
    if (!before || before->fingerprint == fingerprint || !repeats.of(before->reminder))
        return false;
    if (m_dryRun)
        return true;
    Reminder changed = made.reminder;
    changed.id = before->reminder;
    if (!m_store.update(changed))
        return false;
    repeats.keep(before->reminder, *made.repetition);
    m_record.keepSeries(made.uid, {before->reminder, fingerprint});
    return true;
}

bool IcsImport::claim(const EventReminder &made)
{
    if (m_dryRun) {
        if (m_hasRecord && m_record.isImported(made.uid, made.start))
            return false;
        const QString key = made.uid + u'\n' + made.start;
        if (m_claimed.contains(key))
            return false;
        m_claimed.insert(key);
        return true;
    }
    return m_record.claim(made.uid, made.start);
}
