#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
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

// Reads one reply from the bytes the server sends, handed over as they arrive in pieces of any size:
// the head, then the body in the framing the head gives. It knows nothing of sockets or time: the
// caller feeds it, tells it when the server closes the connection, and ends a wait that lasts too long.
class ReplyParser
{
public:
    static constexpr qsizetype kMaxLineLength = 16384;
    // The most the program takes of a reply's body, and of its header blocks together.
    static constexpr qsizetype kMaxReplyPart = 1 << 20;

    enum class State {
        Head,     // status lines and header blocks are coming; replies with code 100 are passed over
        Body,     // the body of an accepted reply is coming
        Draining, // the body of a reply that is not accepted is coming, to be dropped
        Complete, // the accepted reply has ended: body() holds its body (empty for 204)
        Failed,   // error() tells why the fetch ends
    };

    // The next bytes from the server. Bytes after the end of the reply are kept unread.
    void feed(QByteArrayView bytes);
    // The server has closed the connection: the reply ends as far as it has come.
    void close();

    State state() const { return m_state; }
    bool isFinished() const { return m_state == State::Complete || m_state == State::Failed; }
    // The head has come (the state is past Head, or the reply failed after it): its cookies count.
    bool hasHead() const { return m_headRead; }
    const ReplyHead &head() const { return m_head; }
    // Once Complete: the chunks (which win over Content-Length), Content-Length bytes, or all until the
    // server closes; fewer when it closes early.
    const QByteArray &body() const { return m_body; }
    // kConnectionClosedGracefully, kMaxLineLengthExceeded, kUndefinedSituation (an accepted head cut
    // off), kReplyTooLarge, kInvalidReplyLength, or the status line of a reply that is not accepted once its body is
    // drained.
    const QString &error() const { return m_error; }
    // The reply has been read to its end, nothing more arrived, and neither side ended the connection:
    // it may carry the next request.
    bool leavesConnectionReusable() const;

private:
    enum class Step { StatusLine, HeaderLine, Counted, ChunkSize, ChunkData, ChunkEnd, LastLine, ToClose, Ended };

    void parse();
    bool advance();
    std::optional<QByteArray> takeLine();
    bool waitOrEnd();
    void countHeadBytes(qsizetype count);
    void endHead();
    bool takeCounted();
    void takeBody(QByteArrayView bytes);
    void endBody();
    qsizetype available() const { return m_buffer.size() - m_position; }

    State m_state = State::Head;
    Step m_step = Step::StatusLine;
    ReplyHead m_head;
    QByteArray m_body;
    QString m_error;
    QByteArray m_buffer;
    qsizetype m_position = 0;
    // Bytes from m_position on already searched for the end of a line: a line that trickles in is not
    // searched from its start again at each piece.
    qsizetype m_lineScanned = 0;
    qsizetype m_headBytes = 0;
    qsizetype m_bodyBytes = 0;
    qint64 m_remaining = 0;
    bool m_headRead = false;
    bool m_closed = false;
    bool m_closeAsked = false;
};
