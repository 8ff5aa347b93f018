#pragma once

#include <QByteArrayView>
#include <QString>

// The notice page is text in the GBK code page (936): a byte from 0x81 to 0xFE starts a double-byte
// character, whatever byte follows it.
inline bool isGbkLeadByte(char byte)
{
    const auto value = static_cast<unsigned char>(byte);
    return value >= 0x81 && value <= 0xFE;
}

// The text of GBK bytes; bytes that form no character become U+FFFD.
QString fromGbk(QByteArrayView bytes);
