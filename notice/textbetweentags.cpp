#include "notice/textbetweentags.h"

#include "notice/gbk.h"

namespace {

// Position from 1 of the first occurrence of needle that starts a character of the GBK text before
// its first NUL; 0 when there is none.
qsizetype positionInGbk(QByteArrayView text, QByteArrayView needle)
{
    const qsizetype nul = text.indexOf('\0');
    const QByteArrayView searched = nul < 0 ? text : text.first(nul);
    if (needle.isEmpty())
        return 0;
    qsizetype at = 0;
    while (at + needle.size() <= searched.size()) {
        if (searched.sliced(at).startsWith(needle))
            return at + 1;
        at += isGbkLeadByte(searched[at]) && at + 1 < searched.size() ? 2 : 1;
    }
    return 0;
}

} // namespace

QByteArray textBetweenTags(const QByteArray &text, const QByteArray &open, const QByteArray &close)
{
    const qsizetype start = positionInGbk(text, open) + open.size();
    const qsizetype count = positionInGbk(text, close) - start;
    if (count <= 0)
        return {};
    return text.mid(start - 1, count);
}
