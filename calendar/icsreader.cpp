#include "calendar/icsreader.h"

#include "calendar/inputerror.h"

#include <QFileDevice>

namespace {

constexpr qint64 kLongestLine = 4 * 1024 * 1024;

bool startsWith(const char *line, const char *prefix)
{
    return qstrnicmp(line, prefix, qstrlen(prefix)) == 0;
}

// The component name of a BEGIN or END line, in capitals.
QByteArray nameAfter(const char *line, const char *prefix)
{
    return QByteArray(line + qstrlen(prefix)).trimmed().toUpper();
}

} // namespace

IcsReader::IcsReader(QIODevice &input)
    : m_input(input)
    , m_parser(icalparser_new())
{
    icalparser_set_gen_data(m_parser.get(), this);
}

char *IcsReader::readChunk(char *buffer, size_t size, void *reader)
{
    return static_cast<IcsReader *>(reader)->chunk(buffer, size);
}

// libical asks for the input as fgets() gives it: at most size - 1 bytes, up to and with a line feed.
char *IcsReader::chunk(char *buffer, size_t size)
{
    for (;;) {
        qint64 count = 0;
        if (!m_pending.isEmpty()) {
            count = m_pending.size();
            memcpy(buffer, m_pending.constData(), size_t(count) + 1);
            m_pending.clear();
            return buffer;
        }
        count = m_input.readLine(buffer, qint64(size));
        if (count <= 0) {
            buffer[0] = '\0';
            m_ended = true;
            if (m_skipping) {
                m_skipping = false;
                return qstrcpy(buffer, "\n");
            }
            return nullptr;
        }
        const bool startsLine = m_atLineStart;
        m_atLineStart = buffer[count - 1] == '\n';
        if (startsLine) {
            ++m_physicalLine;
            // A line that begins with a blank continues the content line before it.
            if (buffer[0] != ' ' && buffer[0] != '\t') {
                m_previousContentLine = m_contentLine;
                m_contentLine = m_physicalLine;
                m_lineBytes = 0;
                if (m_skipping) {
                    // The cut line ends here; this chunk begins the next one.
                    m_skipping = false;
                    m_pending = QByteArray(buffer, count);
                    return qstrcpy(buffer, "\n");
                }
            }
        }
        if (m_skipping)
            continue;
        m_lineBytes += count;
        if (m_lineBytes > kLongestLine) {
            m_skipping = true;
            m_cutLine = m_contentLine;
            continue;
        }
        return buffer;
    }
}

int IcsReader::lineOfLastContentLine() const
{
    // libical reads a line ahead to see whether the next one continues it, except at the end.
    return m_ended && m_pending.isEmpty() ? m_contentLine : m_previousContentLine;
}

std::optional<IcsReader::Part> IcsReader::next()
{
    int depth = 0;
    Part part;
    for (;;) {
        const std::unique_ptr<char, IcalFree<icalmemory_free_buffer>> line(
            icalparser_get_line(m_parser.get(), &IcsReader::readChunk));
        if (!line) {
            const auto *file = qobject_cast<const QFileDevice *>(&m_input);
            if (file && file->error() != QFileDevice::NoError)
                throw InputError(QStringLiteral("--ics: reading failed: %1").arg(m_input.errorString()));
            if (!m_sawCalendar)
                throw InputError(QStringLiteral("--ics: the input is empty, not an iCalendar file"));
            if (depth > 0) {
                part.problem = QStringLiteral("the file ends inside this component");
                return part;
            }
            return std::nullopt;
        }
        const char *text = line.get();
        const int at = lineOfLastContentLine();
        if (!m_inCalendar) {
            if (startsWith(text, "BEGIN:") && nameAfter(text, "BEGIN:") == "VCALENDAR") {
                m_inCalendar = m_sawCalendar = true;
            } else if (!m_sawCalendar && *text != '\0') {
                throw InputError(
                    QStringLiteral("--ics: not an iCalendar file (it does not begin with BEGIN:VCALENDAR)"));
            }
            continue;
        }
        if (depth == 0) {
            if (startsWith(text, "END:") && nameAfter(text, "END:") == "VCALENDAR")
                m_inCalendar = false;
            // Otherwise a property of the calendar itself.
            if (!startsWith(text, "BEGIN:"))
                continue;
            part.line = at;
        }
        if (m_cutLine == at && at != 0)
            part.problem = QStringLiteral("line %1 is longer than 4 MB").arg(at);
        if (startsWith(text, "BEGIN:"))
            ++depth;
        else if (startsWith(text, "END:"))
            --depth;
        icalcomponent *done = icalparser_add_line(m_parser.get(), line.get());
        if (depth == 0) {
            part.component.reset(done);
            if (!done) {
                // What libical still holds would become part of the next component.
                const IcalComponent rest(icalparser_clean(m_parser.get()));
                if (part.problem.isEmpty())
                    part.problem = QStringLiteral("libical could not read this component");
            }
            return part;
        }
    }
}
