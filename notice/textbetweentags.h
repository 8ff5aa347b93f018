#pragma once

#include <QByteArray>

// The text of a notice page between the first `open` and the first `close` tag, both searched from the
// page's beginning, as bytes of the GBK page. Counting positions from 1, with p and q those of the tags
// (0 when missing), it is the part that starts at p + length(open) and is q - p - length(open) bytes
// long, empty when that is not positive. So a page without the opening tag gives the bytes from
// position length(open) up to the closing tag. A tag that would begin on the second byte of a
// double-byte character is passed over, and the search ends at the page's first NUL.
QByteArray textBetweenTags(const QByteArray &text, const QByteArray &open, const QByteArray &close);
