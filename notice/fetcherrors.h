#pragma once

#include "core/translatedtext.h"

#include <QString>

// Messages of the errors that end a notice fetch, which the window that asked shows in the error box.
inline const QString kConnectionClosedGracefully = QStringLiteral("Connection Closed Gracefully.");
inline const QString kMaxLineLengthExceeded = QStringLiteral("Max line length exceeded.");
inline const QString kUndefinedSituation = QStringLiteral("Undefined situation");
inline const QString kReadTimeout = QStringLiteral("Read Timeout");

// A reply whose body, or whose header blocks together, exceed 1 MiB. No full stop: the error box adds one.
inline const TranslatedText kReplyTooLarge{"NoticeFetch",
                                           QT_TRANSLATE_NOOP("NoticeFetch", "通知页面的回复超过 1 MiB，已停止接收")};
// A reply whose length cannot be read: a chunk size that is not one, or Content-Length values that are
// not numbers or that differ. No full stop: the error box adds one.
inline const TranslatedText kInvalidReplyLength{"NoticeFetch",
                                                QT_TRANSLATE_NOOP("NoticeFetch", "通知页面的回复长度无效")};
// Followed by the address that could not be used.
inline const TranslatedText kInvalidPageAddress{"NoticeFetch",
                                                QT_TRANSLATE_NOOP("NoticeFetch", "通知页面的网址无效：")};

// "Socket Error # <number>", CR LF, the description of that error.
inline QString socketErrorMessage(int number, const QString &description)
{
    return QStringLiteral("Socket Error # %1\r\n%2").arg(number).arg(description);
}
