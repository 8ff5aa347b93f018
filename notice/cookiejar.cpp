#include "notice/cookiejar.h"

#include "notice/replyparser.h"

#include <algorithm>

namespace {

QByteArray unquoted(const QByteArray &value)
{
    return value.size() >= 2 && value.startsWith('"') && value.endsWith('"') ? value.sliced(1, value.size() - 2)
                                                                             : value;
}

} // namespace

void CookieJar::store(const QString &host, const ReplyHead &head)
{
    for (const QByteArray &header : head.values("Set-Cookie") + head.values("Set-Cookie2")) {
        const QList<QByteArray> parts = header.split(';');
        const qsizetype equals = parts.first().indexOf('=');
        if (equals < 0)
            continue;
        Cookie cookie{host, "/", parts.first().left(equals).trimmed(), parts.first().mid(equals + 1).trimmed()};
        if (cookie.name.isEmpty())
            continue;
        bool expired = false;
        bool ok = false;
        for (qsizetype i = 1; i < parts.size(); ++i) {
            const qsizetype attributeEquals = parts.at(i).indexOf('=');
            const QByteArray attribute = parts.at(i).left(attributeEquals).trimmed().toLower();
            const QByteArray value =
                attributeEquals < 0 ? QByteArray() : unquoted(parts.at(i).mid(attributeEquals + 1).trimmed());
            if (attribute == "path" && value.startsWith('/'))
                cookie.path = value;
            else if (attribute == "max-age")
                expired = value.toLongLong(&ok) <= 0 && ok;
        }
        store(std::move(cookie), expired);
    }
}

void CookieJar::store(Cookie cookie, bool expired)
{
    const auto same = std::find_if(m_cookies.begin(), m_cookies.end(), [&cookie](const Cookie &kept) {
        return kept.host.compare(cookie.host, Qt::CaseInsensitive) == 0 && kept.path == cookie.path
               && kept.name == cookie.name;
    });
    if (same == m_cookies.end()) {
        if (!expired && m_cookies.size() < kMaxCookies)
            m_cookies.append(std::move(cookie));
    } else if (expired) {
        m_cookies.erase(same);
    } else {
        same->value = std::move(cookie.value);
    }
}

QByteArray CookieJar::cookieHeader(const QString &host, const QByteArray &path) const
{
    QList<QByteArray> pairs;
    for (const Cookie &cookie : m_cookies) {
        if (cookie.host.compare(host, Qt::CaseInsensitive) == 0 && path.startsWith(cookie.path)
            && !cookie.value.isEmpty())
            pairs.append(cookie.name + '=' + cookie.value);
    }
    return pairs.join("; ");
}
