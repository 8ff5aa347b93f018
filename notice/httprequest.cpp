#include "notice/httprequest.h"

namespace {

constexpr qsizetype kFoldWidth = 78;

bool isFoldPoint(char c)
{
    return c == ' ' || c == '\t' || c == ',';
}

// Characters that stay on the line when it is broken at position at: a comma stays, a blank goes.
qsizetype keptBefore(const QByteArray &line, qsizetype at)
{
    return line.at(at) == ',' ? at + 1 : at;
}

// The last fold point that leaves the line at most kFoldWidth long, else the first one; -1 when none.
// Position 0 is passed over: it is the blank that begins a continuation line.
qsizetype foldPoint(const QByteArray &line)
{
    qsizetype last = -1;
    for (qsizetype at = 1; at < line.size(); ++at) {
        if (!isFoldPoint(line.at(at)))
            continue;
        if (keptBefore(line, at) > kFoldWidth)
            return last >= 0 ? last : at;
        last = at;
    }
    return last;
}

QByteArray folded(QByteArray line)
{
    QByteArray lines;
    qsizetype at = -1;
    while (line.size() > kFoldWidth && (at = foldPoint(line)) >= 0) {
        lines += line.first(keptBefore(line, at)) + "\r\n";
        line = ' ' + line.sliced(at + 1);
    }
    return lines + line;
}

} // namespace

QByteArray httpRequest(const QByteArray &target, const QByteArray &host, const QByteArray &cookieHeader)
{
    QByteArray request = "GET " + target + " HTTP/1.1\r\n";
    const auto header = [&request](const QByteArray &name, const QByteArray &value) {
        request += folded(name + ": " + value) + "\r\n";
    };
    header("Content-Type", "text/html");
    header("Host", host);
    header("Accept", "text/html, */*");
    header("User-Agent", "Mozilla/3.0 (compatible; Orvane Reminder)");
    if (!cookieHeader.isEmpty())
        header("Cookie", cookieHeader);
    return request + "\r\n";
}
