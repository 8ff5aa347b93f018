#include "notice/replyreader.h"

#include "core/apperror.h"
#include "notice/fetcherrors.h"
#include "notice/gbk.h"

#include <algorithm>

namespace {

constexpr qsizetype kReadSize = 64 * 1024;

int statusCodeOf(const QByteArray &statusLine)
{
    const QList<QByteArray> words = statusLine.split(' ');
    bool ok = false;
    const int code = words.size() > 1 ? words.at(1).toInt(&ok) : 0;
    return ok ? code : -1;
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

ReplyReader::ReplyReader(ByteSource &source, int readTimeoutMs)
    : m_source(source)
    , m_readTimeoutMs(readTimeoutMs)
{
}

bool ReplyReader::fill(int timeoutMs)
{
    if (m_closed)
        return false;
    const QByteArray bytes = m_source.read(kReadSize, timeoutMs);
    if (bytes.isEmpty()) {
        m_closed = true;
        return false;
    }
    m_buffer.remove(0, m_position);
    m_position = 0;
    m_buffer += bytes;
    return true;
}

// A line up to its line feed, a carriage return before it dropped; none when the server closes first.
std::optional<QByteArray> ReplyReader::readLine(int timeoutMs)
{
    qsizetype end = m_buffer.indexOf('\n', m_position);
    while (end < 0) {
        // One byte over the longest line: the carriage return before a line feed still to come.
        if (available() > kMaxLineLength + 1)
            throw AppError(kMaxLineLengthExceeded);
        const qsizetype searched = available();
        if (!fill(timeoutMs))
            return std::nullopt;
        end = m_buffer.indexOf('\n', m_position + searched);
    }
    QByteArray line = m_buffer.sliced(m_position, end - m_position);
    m_position = end + 1;
    if (line.endsWith('\r'))
        line.chop(1);
    if (line.size() > kMaxLineLength)
        throw AppError(kMaxLineLengthExceeded);
    return line;
}

void ReplyReader::countHeadBytes(qsizetype count)
{
    m_headBytes += count;
    if (m_headBytes > kMaxReplyPart)
        throw AppError(kReplyTooLarge);
}

ReplyHead ReplyReader::readHead()
{
    ReplyHead head;
    do {
        head = ReplyHead();
        const std::optional<QByteArray> statusLine = readLine(m_readTimeoutMs);
        if (!statusLine)
            throw AppError(kConnectionClosedGracefully);
        countHeadBytes(statusLine->size() + 1);
        head.statusLine = *statusLine;
        head.statusCode = statusCodeOf(head.statusLine);
        while (true) {
            const std::optional<QByteArray> line = readLine(m_readTimeoutMs);
            if (!line) {
                head.cutOff = true;
                break;
            }
            if (line->isEmpty())
                break;
            countHeadBytes(line->size() + 1);
            head.headerLines += *line + '\n';
        }
    } while (head.statusCode == 100);
    return head;
}

template <typename Take> void ReplyReader::readFramed(const ReplyHead &head, int timeoutMs, Take take)
{
    // Counts what arrives, never what the server announces, so memory stays bounded whatever it claims.
    qsizetype taken = 0;
    const auto limitedTake = [&taken, &take](QByteArrayView bytes) {
        taken += bytes.size();
        if (taken > kMaxReplyPart)
            throw AppError(kReplyTooLarge);
        take(bytes);
    };
    const QList<QByteArray> lengths = head.values("Content-Length");
    bool ok = false;
    const qint64 length = lengths.isEmpty() ? 0 : lengths.first().toLongLong(&ok);
    if (ok && length > 0) {
        readExactly(length, timeoutMs, limitedTake);
        return;
    }
    const QList<QByteArray> encodings = head.values("Transfer-Encoding");
    if (std::any_of(encodings.begin(), encodings.end(),
                    [](const QByteArray &value) { return value.toLower().contains("chunked"); })) {
        readChunks(timeoutMs, limitedTake);
        return;
    }
    if (lengths.isEmpty())
        readToClose(timeoutMs, limitedTake);
}

// Fewer bytes when the server closes early: what arrived is used.
template <typename Take> void ReplyReader::readExactly(qint64 count, int timeoutMs, Take take)
{
    while (count > 0) {
        if (available() == 0 && !fill(timeoutMs))
            return;
        const qsizetype part = static_cast<qsizetype>(qMin<qint64>(count, available()));
        take(QByteArrayView(m_buffer).sliced(m_position, part));
        m_position += part;
        count -= part;
    }
}

template <typename Take> void ReplyReader::readChunks(int timeoutMs, Take take)
{
    while (true) {
        const std::optional<QByteArray> sizeLine = readLine(timeoutMs);
        if (!sizeLine)
            return;
        qsizetype blank = 0;
        while (blank < sizeLine->size() && sizeLine->at(blank) != ' ' && sizeLine->at(blank) != '\t')
            ++blank;
        bool ok = false;
        const qint64 size = sizeLine->first(blank).toLongLong(&ok, 16);
        if (!ok || size <= 0)
            break;
        readExactly(size, timeoutMs, take);
        if (!readLine(timeoutMs))
            return;
    }
    readLine(timeoutMs);
}

template <typename Take> void ReplyReader::readToClose(int timeoutMs, Take take)
{
    do {
        take(QByteArrayView(m_buffer).sliced(m_position));
        m_position = m_buffer.size();
    } while (fill(timeoutMs));
}

QByteArray ReplyReader::readBody(const ReplyHead &head)
{
    m_closeAsked = head.asksToClose();
    if (!head.isAccepted()) {
        readFramed(head, kDrainTimeoutMs, [](QByteArrayView) {});
        m_complete = true;
        throw AppError(fromGbk(head.statusLine));
    }
    if (head.cutOff)
        throw AppError(kUndefinedSituation);
    QByteArray body;
    if (head.statusCode != 204)
        readFramed(head, m_readTimeoutMs, [&body](QByteArrayView bytes) { body += bytes; });
    m_complete = true;
    return body;
}

bool ReplyReader::leavesConnectionReusable() const
{
    return m_complete && !m_closed && available() == 0 && !m_closeAsked;
}
