#include "core/text.h"

#include <algorithm>

QString withoutOuterSpacesAndControls(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin).unicode() <= 32)
        ++begin;
    while (end > begin && text.at(end - 1).unicode() <= 32)
        --end;
    return text.mid(begin, end - begin);
}

QString withLineFeeds(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QString withVisibleControls(const QString &text)
{
    const auto isControl = [](QChar c) {
        return (c.unicode() < 0x20 && c != u'\n') || (c.unicode() >= 0x7f && c.unicode() < 0xa0);
    };
    if (std::none_of(text.begin(), text.end(), isControl))
        return text;
    QString shown;
    for (const QChar c : text) {
        if (isControl(c))
            shown += QStringLiteral("\\x") + QString::number(c.unicode(), 16).rightJustified(2, u'0');
        else
            shown += c;
    }
    return shown;
}
