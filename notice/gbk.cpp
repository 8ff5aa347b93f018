#include "notice/gbk.h"

#include <QStringDecoder>

QString fromGbk(QByteArrayView bytes)
{
    QStringDecoder decoder("GBK", QStringConverter::Flag::Stateless);
    if (decoder.isValid())
        return decoder.decode(bytes);
    // A Qt built without ICU knows no GBK: keep ASCII, which is all an address needs, and mark the rest.
    QString text;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            text += QLatin1Char(bytes[i]);
            continue;
        }
        text += QChar(QChar::ReplacementCharacter);
        if (isGbkLeadByte(bytes[i]) && i + 1 < bytes.size())
            ++i;
    }
    return text;
}
