#include "calendar/icsimport.h"

#include "calendar/icsevent.h"
#include "calendar/icsreader.h"
#include "calendar/inputerror.h"
#include "core/text.h"
#include "store/calendarrecord.h"
#include "store/reminderstore.h"

#include <QTextStream>

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
    out << (m_dryRun ? "would import " : "imported ") << reminders(m_added) << " (" << m_known << " already imported, "
        << m_skipped << " skipped)" << Qt::endl;
}

void IcsImport::readCalendar(QIODevice &input, QTextStream &out, QTextStream &error)
{
    IcsReader reader(input);
    EventConverter converter(m_now);
    while (std::optional<IcsReader::Part> part = reader.next()) {
        const QString where = QStringLiteral("orvane-db: line %1: skipped ").arg(part->line);
        const icalcomponent_kind kind = part->component ? icalcomponent_isa(part->component.get()) : ICAL_NO_COMPONENT;
        if (kind == ICAL_VTIMEZONE_COMPONENT && part->problem.isEmpty()) {
            converter.addTimeZone(std::move(part->component));
            continue;
        }
        if (kind != ICAL_VEVENT_COMPONENT) {
            ++m_skipped;
            const QString name = part->component ? QString::fromLatin1(icalcomponent_kind_to_string(kind))
                                                 : QStringLiteral("a component");
            error << where << name << ": "
                  << (part->problem.isEmpty() ? QStringLiteral("only events become reminders") : part->problem)
                  << Qt::endl;
            continue;
        }
        EventReminders made = converter.convert(part->component.get());
        if (made.problem.isEmpty())
            made.problem = part->problem;
        if (!made.problem.isEmpty()) {
            ++m_skipped;
            error << where << "event " << quoted(made.subject) << ": " << withVisibleControls(made.problem) << Qt::endl;
            continue;
        }
        int known = 0;
        for (const EventReminder &reminder : std::as_const(made.reminders)) {
            if (!claim(reminder)) {
                ++known;
                continue;
            }
            if (!m_dryRun)
                m_store.add(reminder.reminder);
            ++m_added;
        }
        m_known += known;
        if (made.recurring) {
            out << "line " << part->line << ": " << quoted(made.subject)
                << " repeats: " << reminders(made.reminders.size()) << " over the next 366 days";
            if (known > 0)
                out << " (" << known << " already imported)";
            if (made.capped)
                out << ", no more than " << EventConverter::kMostOccurrences << " for one event";
            out << Qt::endl;
        }
    }
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
