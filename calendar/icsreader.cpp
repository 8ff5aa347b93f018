#include "calendar/icsreader.h"

#include "calendar/inputerror.h"

#include <QFileDevice>
#include <QStringDecoder>
#include <algorithm>

namespace {

constexpr qint64 kLongestLine = 4 * 1024 * 1024;
constexpr qint64 kReadPiece = 64 * 1024;
// iCalendar nests three levels below the calendar (VTIMEZONE, STANDARD, its properties); libical frees
// components recursively, so that a calendar nested thousands deep would overflow the stack.
constexpr int kDeepestNesting = 8;

bool startsWith(const QByteArray &line, const char *prefix)
{
    return qstrnicmp(line.constData(), prefix, qstrlen(prefix)) == 0;
}

// The component name of a BEGIN or END line, in capitals.
QByteArray nameAfter(const QByteArray &line, const char *prefix)
{
    return line.mid(qstrlen(prefix)).trimmed().toUpper();
}

// Whether the parameters of a content line (what comes before its value) name a GB charset.
bool saysGb(const QByteArray &line)
{
    const qsizetype colon = line.indexOf(':');
    const QByteArray parameters = line.left(colon < 0 ? line.size() : colon).toUpper();
    return parameters.contains(";CHARSET=GB18030") || parameters.contains(";CHARSET=GBK")
           || parameters.contains(";CHARSET=GB2312") || parameters.contains(";CHARSET=\"GB18030\"");
}

} // namespace

IcsReader::IcsReader(QIODevice &input)
    : m_input(input)
    , m_parser(icalparser_new())
    , m_piece(kReadPiece, Qt::Uninitialized)
{
}

std::optional<QByteArray> IcsReader::physicalLine(bool *tooLong)
{
    QByteArray line;
    *tooLong = false;
    bool any = false;
    for (;;) {
        const qint64 count = m_input.readLine(m_piece.data(), m_piece.size());
        if (count <= 0)
            break;
        any = true;
        if (!*tooLong) {
            line.append(m_piece.constData(), count);
            if (line.size() > kLongestLine + 2) {
                *tooLong = true;
                // Its first character still tells whether it continues the line before it.
                line.truncate(1);
            }
        }
        if (m_piece.at(count - 1) == '\n')
            break;
    }
    const auto *file = qobject_cast<const QFileDevice *>(&m_input);
    if (file && file->error() != QFileDevice::NoError)
        throw InputError(QStringLiteral("--ics: reading failed: %1").arg(m_input.errorString()));
    if (!any)
        return std::nullopt;
    ++m_physicalLine;
    if (line.endsWith('\n'))
        line.chop(1);
    if (line.endsWith('\r'))
        line.chop(1);
    if (m_physicalLine == 1) {
        if (line.startsWith("\xEF\xBB\xBF")) {
            line.remove(0, 3);
        } else if (line.startsWith("\x84\x31\x95\x33")) {
            line.remove(0, 4);
            m_gb18030 = true;
        }
    }
    return line;
}

std::optional<IcsReader::ContentLine> IcsReader::contentLine()
{
    for (;;) {
        ContentLine content;
        if (m_ahead) {
            content.text = std::move(*m_ahead);
            content.tooLong = m_aheadTooLong;
            content.line = m_aheadLine;
            m_ahead.reset();
        } else {
            std::optional<QByteArray> first = physicalLine(&content.tooLong);
            if (!first)
                return std::nullopt;
            content.text = std::move(*first);
            content.line = m_physicalLine;
        }
        // The lines after it that begin with a blank continue it.
        for (;;) {
            m_ahead = physicalLine(&m_aheadTooLong);
            m_aheadLine = m_physicalLine;
            if (!m_ahead || m_ahead->isEmpty() || (m_ahead->at(0) != ' ' && m_ahead->at(0) != '\t'))
                break;
            if (m_aheadTooLong || content.text.size() + m_ahead->size() > kLongestLine + 1)
                content.tooLong = true;
            if (!content.tooLong)
                content.text.append(m_ahead->constData() + 1, m_ahead->size() - 1);
            m_ahead.reset();
        }
        if (content.tooLong) {
            content.text.clear();
            return content;
        }
        // Blank lines are not content lines.
        if (!content.text.isEmpty())
            return content;
    }
}

QByteArray IcsReader::decoded(const QByteArray &text, int line)
{
    if (m_gb18030 || saysGb(text)) {
        QStringDecoder decoder("GB18030");
        const QString read = decoder(text);
        return read.toUtf8();
    }
    if (std::all_of(text.begin(), text.end(), [](char c) { return uchar(c) < 0x80; }))
        return text;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString read = utf8(text);
    if (!utf8.hasError())
        return text;
    if (m_nonUtf8Line == 0)
        m_nonUtf8Line = line;
    return read.toUtf8();
}

std::optional<IcsReader::Part> IcsReader::next()
{
    int depth = 0;
    Part part;
    for (;;) {
        std::optional<ContentLine> content = contentLine();
        if (!content) {
            if (!m_sawCalendar)
                throw InputError(QStringLiteral("--ics: the input is empty, not an iCalendar file"));
            if (depth > 0) {
                throw InputError(QStringLiteral("--ics: the file ends at line %1 inside the component begun at line %2")
                                     .arg(m_physicalLine)
                                     .arg(part.line));
            }
            if (m_inCalendar)
                throw InputError(
                    QStringLiteral("--ics: the file ends at line %1 without END:VCALENDAR").arg(m_physicalLine));
            return std::nullopt;
        }
        const int at = content->line;
        if (content->tooLong) {
            if (!m_sawCalendar)
                throw InputError(
                    QStringLiteral("--ics: not an iCalendar file (it does not begin with BEGIN:VCALENDAR)"));
            part.notes << QStringLiteral("line %1: left out a property longer than 4 MB").arg(at);
            continue;
        }
        QByteArray text = decoded(content->text, at);
        if (!m_inCalendar) {
            if (startsWith(text, "BEGIN:") && nameAfter(text, "BEGIN:") == "VCALENDAR") {
                m_inCalendar = m_sawCalendar = true;
            } else if (!m_sawCalendar) {
                throw InputError(
                    QStringLiteral("--ics: not an iCalendar file (it does not begin with BEGIN:VCALENDAR)"));
            }
            continue;
        }
        const bool begins = startsWith(text, "BEGIN:");
        const bool ends = startsWith(text, "END:");
        if (depth == 0) {
            if (ends && nameAfter(text, "END:") == "VCALENDAR")
                m_inCalendar = false;
            // Otherwise a property of the calendar itself.
            if (!begins)
                continue;
            part.line = at;
        } else if (ends && nameAfter(text, "END:") == "VCALENDAR") {
            throw InputError(QStringLiteral("--ics: line %1: END:VCALENDAR inside the component begun at line %2")
                                 .arg(at)
                                 .arg(part.line));
        }
        if (begins && ++depth > kDeepestNesting)
            throw InputError(
                QStringLiteral("--ics: line %1: components nested deeper than %2 levels").arg(at).arg(kDeepestNesting));
        if (ends)
            --depth;
        icalcomponent *done = icalparser_add_line(m_parser.get(), text.data());
        if (depth == 0) {
            part.component.reset(done);
            if (!done) {
                // What libical still holds would become part of the next component.
                const IcalComponent rest(icalparser_clean(m_parser.get()));
                part.problem = QStringLiteral("libical could not read this component");
            }
            return part;
        }
    }
}
