// libFuzzer target for the notice reply handling: a server's bytes, handed out in pieces, go through
// the reply reader, the cookie jar, the tag extraction and the next request, as in a fetch.

#include "core/apperror.h"
#include "notice/bytesource.h"
#include "notice/cookiejar.h"
#include "notice/fetcherrors.h"
#include "notice/httprequest.h"
#include "notice/replyreader.h"
#include "notice/textbetweentags.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

// The input after its first byte, in pieces of 1 to 128 bytes as that byte's low bits say; once it is
// used up, the server closes the connection, or, with the top bit set, goes silent.
class PiecewiseSource : public ByteSource
{
public:
    PiecewiseSource(QByteArrayView bytes, qsizetype pieceSize, bool endsSilent)
        : m_bytes(bytes)
        , m_pieceSize(pieceSize)
        , m_endsSilent(endsSilent)
    {
    }

    QByteArray read(qsizetype maxBytes, int) override
    {
        if (m_bytes.isEmpty()) {
            if (m_endsSilent)
                throw AppError(kReadTimeout);
            return {};
        }
        const qsizetype count = std::min({maxBytes, m_pieceSize, m_bytes.size()});
        const QByteArray piece = m_bytes.first(count).toByteArray();
        m_bytes = m_bytes.sliced(count);
        return piece;
    }

private:
    QByteArrayView m_bytes;
    const qsizetype m_pieceSize;
    const bool m_endsSilent;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    PiecewiseSource source(QByteArrayView(data + 1, static_cast<qsizetype>(size - 1)), (data[0] & 0x7f) + 1,
                           (data[0] & 0x80) != 0);
    ReplyReader reader(source, 1000);
    CookieJar cookies;
    const QString host = QStringLiteral("fuzz.example");
    try {
        const ReplyHead head = reader.readHead();
        cookies.store(host, head);
        const QByteArray body = reader.readBody(head);
        if (body.size() > ReplyReader::kMaxReplyPart || (head.statusCode == 204 && !body.isEmpty()))
            std::abort();
        const QByteArray element = TextBetweenTags(body, "<zeqa2>", "</zeqa2>");
        if (element.size() > body.size())
            std::abort();
        (void)reader.leavesConnectionReusable();
    } catch (const AppError &) {
        // Every failure of a fetch ends in an AppError; anything else escapes and is a finding.
    }
    const QByteArray request = httpRequest("/index.html", host.toLatin1(), cookies.cookieHeader(host, "/index.html"));
    if (!request.endsWith("\r\n\r\n"))
        std::abort();
    return 0;
}
