#pragma once

#include "notice/bytesource.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <optional>

// Status line and header block of a reply: the last one read, after any 100 replies.
struct ReplyHead
{
    QByteArray statusLine;
    // The second blank-separated word of the status line as a number; -1 when it is not one.
    int statusCode = -1;
    // The header lines as received, each ended by '\n'.
    QByteArray headerLines;
    // The server closed the connection before the empty line that ends the header block.
    bool cutOff = false;

    // Values of the headers with this name (compared without regard to case), blanks around them removed.
    QList<QByteArray> values(QByteArrayView name) const;
    bool has(QByteArrayView name) const { return !values(name).isEmpty(); }
    // A code from 200 to 299 and no Location header; any other reply is not followed and ends the fetch.
    bool isAccepted() const;
    // A Connection or Proxy-Connection header says "close".
    bool asksToClose() const;
};

// Reads one reply from a byte source: the head, then the body in the framing the head gives.
class ReplyReader
{
public:
    static constexpr qsizetype kMaxLineLength = 16384;
    // The most the program takes of a reply's body, and of its header blocks together.
    static constexpr qsizetype kMaxReplyPart = 1 << 20;
    // Silence that ends the draining of a reply that is not accepted.
    static constexpr int kDrainTimeoutMs = 2000;

    // readTimeoutMs: the longest silence while a head or an accepted body is read.
    ReplyReader(ByteSource &source, int readTimeoutMs);

    // Reads status lines and header blocks, passing over replies with code 100.
    // Throws AppError: kConnectionClosedGracefully, kMaxLineLengthExceeded, kReplyTooLarge, kReadTimeout.
    ReplyHead readHead();
    // The body of an accepted reply (empty for 204): Content-Length bytes, chunks, or all until the
    // server closes. Any other reply has its body drained with kDrainTimeoutMs and then ends in an
    // AppError carrying its status line. An accepted head that was cut off ends in kUndefinedSituation.
    QByteArray readBody(const ReplyHead &head);
    // The reply has been read to its end, nothing more arrived, and neither side ended the connection:
    // it may carry the next request.
    bool leavesConnectionReusable() const;

private:
    qsizetype available() const { return m_buffer.size() - m_position; }
    bool fill(int timeoutMs);
    std::optional<QByteArray> readLine(int timeoutMs);
    void countHeadBytes(qsizetype count);
    template <typename Take> void readFramed(const ReplyHead &head, int timeoutMs, Take take);
    template <typename Take> void readExactly(qint64 count, int timeoutMs, Take take);
    template <typename Take> void readChunks(int timeoutMs, Take take);
    template <typename Take> void readToClose(int timeoutMs, Take take);

    ByteSource &m_source;
    const int m_readTimeoutMs;
    QByteArray m_buffer;
    qsizetype m_position = 0;
    qsizetype m_headBytes = 0;
    bool m_closed = false;
    bool m_complete = false;
    bool m_closeAsked = false;
};
