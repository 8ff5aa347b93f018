#include "cli/listing.h"

#include "core/text.h"
#include "store/reminderrepeats.h"
#include "store/reminderstore.h"
#include "store/textformats.h"

#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

namespace {

constexpr int kSubjectColumns = 30;
constexpr int kContentColumns = 40;
// Rows read before the column widths are fixed; later rows are shortened to them.
constexpr int kMeasuredRows = 1000;

// Terminal columns of one character: East Asian wide characters take two, combining marks none.
int columnsOf(char32_t c)
{
    if (c < 0x20 || (c >= 0x7f && c < 0xa0) || QChar::category(c) == QChar::Mark_NonSpacing
        || QChar::category(c) == QChar::Mark_Enclosing)
        return 0;
    const bool wide = (c >= 0x1100 && c <= 0x115f) || (c >= 0x2e80 && c <= 0xa4cf && c != 0x303f)
                      || (c >= 0xac00 && c <= 0xd7a3) || (c >= 0xf900 && c <= 0xfaff) || (c >= 0xfe30 && c <= 0xfe4f)
                      || (c >= 0xff00 && c <= 0xff60) || (c >= 0xffe0 && c <= 0xffe6) || (c >= 0x1f300 && c <= 0x1faff)
                      || (c >= 0x20000 && c <= 0x3fffd);
    return wide ? 2 : 1;
}

// One line of at most `limit` columns: line breaks and tabs become blanks, other control characters are
// written out, and a longer text ends in "…".
QString shortened(QString text, int limit, int *columns)
{
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    for (QChar &c : text) {
        if (c == u'\r' || c == u'\n' || c == u'\t')
            c = u' ';
    }
    text = withVisibleControls(text);
    const QList<uint> chars = text.toUcs4();
    int total = 0;
    for (const char32_t c : chars)
        total += columnsOf(c);
    if (total <= limit) {
        *columns = total;
        return text;
    }
    QString line;
    int used = 0;
    for (const char32_t c : chars) {
        const int width = columnsOf(c);
        if (used + width > limit - 1)
            break;
        line += QString::fromUcs4(&c, 1);
        used += width;
    }
    *columns = used + 1;
    return line + QChar(u'…');
}

struct Row
{
    QString id;
    QString due;
    QString repeat;
    int repeatColumns = 0;
    QString subject;
    int subjectColumns = 0;
    QString content;
};

Row rowOf(const Reminder &reminder, const QHash<qint64, Repetition> &repeats, int subjectLimit)
{
    int unused = 0;
    Row row;
    row.id = QString::number(reminder.id);
    row.due = reminder.due.isValid() ? canonicalDateTimeText(reminder.due) : QStringLiteral("-");
    const auto repeat = repeats.constFind(reminder.rowid);
    if (repeat != repeats.cend())
        row.repeat = shortened(repeat->label(), kSubjectColumns, &row.repeatColumns);
    row.subject = shortened(reminder.subject, subjectLimit, &row.subjectColumns);
    row.content = shortened(reminder.content, kContentColumns, &unused);
    return row;
}

class Table
{
public:
    // A file with repeating reminders gets a REPEAT column after DUE; the rules are those of `repeats`.
    Table(QTextStream &out, QHash<qint64, Repetition> repeats)
        : m_out(out)
        , m_repeats(std::move(repeats))
    {
        for (const Repetition &repetition : std::as_const(m_repeats)) {
            int columns = 0;
            shortened(repetition.label(), kSubjectColumns, &columns);
            m_repeatWidth = std::max({m_repeatWidth, columns, 6});
        }
    }

    void add(const Reminder &reminder)
    {
        if (m_measuring) {
            m_rows.append(rowOf(reminder, m_repeats, kSubjectColumns));
            m_idWidth = std::max(m_idWidth, int(m_rows.last().id.size()));
            m_subjectWidth = std::max(m_subjectWidth, m_rows.last().subjectColumns);
            if (m_rows.size() == kMeasuredRows)
                flush();
        } else {
            write(rowOf(reminder, m_repeats, m_subjectWidth));
        }
    }

    // Writes what is held; the rows after it keep these widths.
    void flush()
    {
        if (!m_measuring)
            return;
        m_measuring = false;
        if (m_rows.isEmpty())
            return;
        // Ids that come later are larger, but rarely by a digit more.
        m_idWidth = std::max(m_idWidth, 2);
        Row header{
            QStringLiteral("ID"),     QStringLiteral("DUE"), QStringLiteral("REPEAT"), 6, QStringLiteral("SUBJECT"), 7,
            QStringLiteral("CONTENT")};
        m_subjectWidth = std::max(m_subjectWidth, header.subjectColumns);
        write(header);
        for (const Row &row : std::as_const(m_rows))
            write(row);
        m_rows.clear();
    }

    bool isEmpty() const { return m_measuring && m_rows.isEmpty(); }

private:
    void write(const Row &row)
    {
        m_out << row.id.rightJustified(m_idWidth) << "  " << row.due.leftJustified(19) << "  ";
        if (m_repeatWidth > 0)
            m_out << row.repeat << QString(m_repeatWidth - row.repeatColumns + 2, u' ');
        m_out << row.subject;
        if (!row.content.isEmpty())
            m_out << QString(m_subjectWidth - row.subjectColumns + 2, u' ') << row.content;
        m_out << '\n';
    }

    QTextStream &m_out;
    QHash<qint64, Repetition> m_repeats;
    int m_repeatWidth = 0;
    QList<Row> m_rows;
    bool m_measuring = true;
    int m_idWidth = 0;
    int m_subjectWidth = 0;
};

QString rangeText(const ListRange &days)
{
    if (days.first.isValid() && days.first == days.last)
        return QStringLiteral(" on ") + reminderDateText(days.first);
    QString text;
    if (days.first.isValid())
        text += QStringLiteral(" from ") + reminderDateText(days.first);
    if (days.last.isValid())
        text += QStringLiteral(" to ") + reminderDateText(days.last);
    return text;
}

QJsonValue textOrNull(const QString &text)
{
    return text.isNull() ? QJsonValue() : QJsonValue(text);
}

} // namespace

void listTable(ReminderStore &store, const ListRange &days, QTextStream &out)
{
    Table table(out, ReminderRepeats(store).all());
    bool any = false;
    store.forEachInTimeOrder(days.first, days.last, [&](const Reminder &reminder) {
        table.add(reminder);
        any = true;
    });
    table.flush();
    if (!any)
        out << "no reminders" << rangeText(days) << '\n';
}

void listJson(ReminderStore &store, const ListRange &days, QTextStream &out)
{
    const QHash<qint64, Repetition> repeats = ReminderRepeats(store).all();
    out << '[';
    bool first = true;
    store.forEachInTimeOrder(days.first, days.last, [&](const Reminder &reminder) {
        QJsonObject object;
        object.insert(QStringLiteral("id"), reminder.id);
        object.insert(QStringLiteral("subject"), textOrNull(reminder.subject));
        object.insert(QStringLiteral("content"), textOrNull(reminder.content));
        object.insert(QStringLiteral("due"), reminder.due.isValid()
                                                 ? QJsonValue(canonicalDateTimeText(reminder.due).replace(10, 1, u'T'))
                                                 : QJsonValue());
        object.insert(QStringLiteral("day"),
                      reminder.day.isValid() ? QJsonValue(reminderDateText(reminder.day)) : QJsonValue());
        const auto repeat = repeats.constFind(reminder.rowid);
        if (repeat != repeats.cend())
            object.insert(QStringLiteral("repeat"), repeat->calendarRule());
        out << (first ? "\n" : ",\n") << QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
        first = false;
    });
    out << (first ? "]\n" : "\n]\n");
}
