// libFuzzer target for the notice reply handling: a server's bytes go through the reply parser in pieces,
// then the cookie jar, the tag extraction and the next request, as in a fetch. The same bytes handed over
// whole must give the same outcome.

#include "notice/cookiejar.h"
#include "notice/httprequest.h"
#include "notice/replyparser.h"
#include "notice/textbetweentags.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

// The bytes in pieces of pieceSize (the whole at once when it is 0), also those after the end of the
// reply; the server then closes the connection, unless it goes silent.
ReplyParser parse(QByteArrayView bytes, qsizetype pieceSize, bool endsSilent)
{
    ReplyParser parser;
    const qsizetype step = pieceSize > 0 ? pieceSize : std::max<qsizetype>(bytes.size(), 1);
    for (qsizetype at = 0; at < bytes.size(); at += step)
        parser.feed(bytes.sliced(at, std::min(step, bytes.size() - at)));
    if (!endsSilent)
        parser.close();
    return parser;
}

} // namespace

// First byte: the piece size - 1 in its low 7 bits, "the server goes silent at the end" in its top bit;
// the rest is what the server sends.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArrayView bytes(data + 1, static_cast<qsizetype>(size - 1));
    const bool endsSilent = (data[0] & 0x80) != 0;
    const ReplyParser parser = parse(bytes, (data[0] & 0x7f) + 1, endsSilent);
    const ReplyParser whole = parse(bytes, 0, endsSilent);
    if (parser.state() != whole.state() || parser.error() != whole.error() || parser.body() != whole.body()
        || parser.leavesConnectionReusable() != whole.leavesConnectionReusable())
        std::abort();
    // A closed connection always ends the reply; only a silent server leaves it waiting.
    if (!endsSilent && !parser.isFinished())
        std::abort();
    if (parser.body().size() > ReplyParser::kMaxReplyPart
        || (parser.state() == ReplyParser::State::Failed && !parser.body().isEmpty())
        || (parser.hasHead() && parser.head().statusCode == 204 && !parser.body().isEmpty()))
        std::abort();

    CookieJar cookies;
    const QString host = QStringLiteral("fuzz.example");
    if (parser.hasHead())
        cookies.store(host, parser.head());
    const QByteArray element = textBetweenTags(parser.body(), "<zeqa2>", "</zeqa2>");
    if (element.size() > parser.body().size())
        std::abort();
    const QByteArray request = httpRequest("/index.html", host.toLatin1(), cookies.cookieHeader(host, "/index.html"));
    if (!request.endsWith("\r\n\r\n"))
        std::abort();
    return 0;
}
