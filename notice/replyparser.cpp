#include "notice/replyparser.h"

#include "core/apperror.h"
#include "notice/fetcherrors.h"
#include "notice/gbk.h"

#include <algorithm>
#include <cctype>
#include <optional>

namespace {

int statusCodeOf(const QByteArray &statusLine)
{
    const QList<QByteArray> words = statusLine.split(' ');
    bool ok = false;
    const int code = words.size() > 1 ? words.at(1).toInt(&ok) : 0;
    return ok ? code : -1;
}

// A chunk's size: hexadecimal digits, then nothing or its extensions (after blanks or ';'), which are not
// used; none when the line does not start with a size that fits in 63 bits.
std::optional<qint64> chunkSizeOf(const QByteArray &line)
{
    qsizetype digits = 0;
    while (digits < line.size() && std::isxdigit(static_cast<unsigned char>(line.at(digits))))
        ++digits;
    const bool ended =
        digits == line.size() || line.at(digits) == ';' || line.at(digits) == ' ' || line.at(digits) == '\t';
    bool ok = false;
    const qint64 size = line.first(digits).toLongLong(&ok, 16);
    return digits > 0 && ended && ok ? std::optional<qint64>(size) : std::nullopt;
}

// The one length that all Content-Length values give ("11", "11, 11", or the same on two lines); none when
// one is not a number or two differ, which leaves the reply's end unknown.
std::optional<qint64> contentLengthOf(const QList<QByteArray> &values)
{
    std::optional<qint64> length;
    for (const QByteArray &value : values) {
        for (const QByteArray &item : value.split(',')) {
            const QByteArray digits = item.trimmed();
            bool ok = !digits.isEmpty()
                      && std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
            const qint64 number = ok ? digits.toLongLong(&ok) : 0;
            if (!ok || (length && *length != number))
                return std::nullopt;
            length = number;
        }
    }
    return length;
}

} // namespace

QList<QByteArray> ReplyHead::values(QByteArrayView name) const
{
    QList<QByteArray> found;
    qsizetype start = 0;
    while (start < headerLines.size()) {
        const qsizetype end = headerLines.indexOf('\n', start);
        const QByteArrayView line = QByteArrayView(headerLines).sliced(start, end - start);
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && line.first(colon).trimmed().compare(name, Qt::CaseInsensitive) == 0)
            found.append(line.sliced(colon + 1).trimmed().toByteArray());
        start = end + 1;
    }
    return found;
}

bool ReplyHead::isAccepted() const
{
    return statusCode >= 200 && statusCode <= 299 && !has("Location");
}

bool ReplyHead::asksToClose() const
{
    const QList<QByteArray> connection = values("Connection") + values("Proxy-Connection");
    return std::any_of(connection.begin(), connection.end(),
                       [](const QByteArray &value) { return value.compare("close", Qt::CaseInsensitive) == 0; });
}

void ReplyParser::feed(QByteArrayView bytes)
{
    m_buffer += bytes;
    parse();
}

void ReplyParser::close()
{
    m_closed = true;
    parse();
}

void ReplyParser::parse()
{
    try {
        while (!isFinished() && advance()) {
        }
    } catch (const AppError &error) {
        m_state = State::Failed;
        m_error = error.message();
        m_body.clear();
    }
    m_buffer.remove(0, m_position);
    m_position = 0;
}

// One step of the reply; false when it needs more bytes than have come.
bool ReplyParser::advance()
{
    switch (m_step) {
    case Step::StatusLine: {
        const std::optional<QByteArray> line = takeLine();
        if (!line) {
            if (m_closed)
                throw AppError(kConnectionClosedGracefully);
            return false;
        }
        countHeadBytes(line->size() + 1);
        m_head = ReplyHead();
        m_head.statusLine = *line;
        m_head.statusCode = statusCodeOf(*line);
        m_step = Step::HeaderLine;
        return true;
    }
    case Step::HeaderLine: {
        const std::optional<QByteArray> line = takeLine();
        if (!line && !m_closed)
            return false;
        if (!line)
            m_head.cutOff = true;
        if (!line || line->isEmpty()) {
            endHead();
            return true;
        }
        countHeadBytes(line->size() + 1);
        m_head.headerLines += *line + '\n';
        return true;
    }
    case Step::Counted:
        if (!takeCounted())
            return waitOrEnd();
        endBody();
        return true;
    case Step::ChunkSize: {
        const std::optional<QByteArray> line = takeLine();
        if (!line)
            return waitOrEnd();
        const std::optional<qint64> size = chunkSizeOf(*line);
        if (!size)
            throw AppError(kInvalidReplyLength);
        m_remaining = *size;
        m_step = m_remaining > 0 ? Step::ChunkData : Step::LastLine;
        return true;
    }
    case Step::ChunkData:
        if (!takeCounted())
            return waitOrEnd();
        m_step = Step::ChunkEnd;
        return true;
    case Step::ChunkEnd:
        if (!takeLine())
            return waitOrEnd();
        m_step = Step::ChunkSize;
        return true;
    case Step::LastLine: {
        // Trailer fields, not used, up to the empty line that ends the reply.
        const std::optional<QByteArray> line = takeLine();
        if (!line)
            return waitOrEnd();
        if (line->isEmpty())
            endBody();
        return true;
    }
    case Step::ToClose:
        takeBody(QByteArrayView(m_buffer).sliced(m_position));
        m_position = m_buffer.size();
        return waitOrEnd();
    case Step::Ended:
        break;
    }
    return false;
}

// A line up to its line feed, a carriage return before it dropped; none while its end has not come.
std::optional<QByteArray> ReplyParser::takeLine()
{
    const qsizetype end = m_buffer.indexOf('\n', m_position + m_lineScanned);
    if (end < 0) {
        m_lineScanned = available();
        // One byte over the longest line: the carriage return before a line feed still to come.
        if (available() > kMaxLineLength + 1)
            throw AppError(kMaxLineLengthExceeded);
        return std::nullopt;
    }
    m_lineScanned = 0;
    QByteArray line = m_buffer.sliced(m_position, end - m_position);
    m_position = end + 1;
    if (line.endsWith('\r'))
        line.chop(1);
    if (line.size() > kMaxLineLength)
        throw AppError(kMaxLineLengthExceeded);
    return line;
}

// All that has come is taken: the body ends here if the server has closed, else more is awaited.
bool ReplyParser::waitOrEnd()
{
    if (!m_closed)
        return false;
    endBody();
    return true;
}

void ReplyParser::countHeadBytes(qsizetype count)
{
    m_headBytes += count;
    if (m_headBytes > kMaxReplyPart)
        throw AppError(kReplyTooLarge);
}

void ReplyParser::endHead()
{
    if (m_head.statusCode == 100) {
        m_step = Step::StatusLine;
        return;
    }
    m_headRead = true;
    m_closeAsked = m_head.asksToClose();
    const bool accepted = m_head.isAccepted();
    m_state = accepted ? State::Body : State::Draining;
    if (accepted && m_head.cutOff)
        throw AppError(kUndefinedSituation);
    if (accepted && m_head.statusCode == 204) {
        endBody();
        return;
    }
    // The framing by precedence: a transfer coding over Content-Length, whose values must agree.
    const QList<QByteArray> encodings = m_head.values("Transfer-Encoding");
    const QList<QByteArray> lengths = m_head.values("Content-Length");
    if (!encodings.isEmpty()) {
        const QByteArray last = encodings.last().split(',').last().trimmed();
        m_step = last.compare("chunked", Qt::CaseInsensitive) == 0 ? Step::ChunkSize : Step::ToClose;
    } else if (lengths.isEmpty()) {
        m_step = Step::ToClose;
    } else {
        const std::optional<qint64> length = contentLengthOf(lengths);
        if (!length)
            throw AppError(kInvalidReplyLength);
        m_remaining = *length;
        m_step = Step::Counted;
        if (m_remaining == 0)
            endBody();
    }
}

// Takes what has come of the m_remaining bytes still due; true when none is due any more.
bool ReplyParser::takeCounted()
{
    const auto part = static_cast<qsizetype>(qMin<qint64>(m_remaining, available()));
    takeBody(QByteArrayView(m_buffer).sliced(m_position, part));
    m_position += part;
    m_remaining -= part;
    return m_remaining == 0;
}

// Counts what arrives, never what the server announces, so memory stays bounded whatever it claims.
void ReplyParser::takeBody(QByteArrayView bytes)
{
    m_bodyBytes += bytes.size();
    if (m_bodyBytes > kMaxReplyPart)
        throw AppError(kReplyTooLarge);
    if (m_state == State::Body)
        m_body += bytes;
}

void ReplyParser::endBody()
{
    m_step = Step::Ended;
    if (m_state == State::Draining)
        throw AppError(fromGbk(m_head.statusLine));
    m_state = State::Complete;
}

bool ReplyParser::leavesConnectionReusable() const
{
    return m_step == Step::Ended && !m_closed && available() == 0 && !m_closeAsked;
}
