#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

struct ReplyHead;

// The cookies that replies set, kept in memory as long as their client. A cookie goes back to the host
// that set it, for request paths that begin with its path, and only when it has a value.
class CookieJar
{
public:
    // More are not taken, so a server cannot make the jar grow without end.
    static constexpr qsizetype kMaxCookies = 50;

    // Takes the cookies of every Set-Cookie and Set-Cookie2 header of a reply from host. A cookie
    // replaces the one of the same name and path; a Max-Age of 0 or less removes it.
    void store(const QString &host, const ReplyHead &head);
    // The value of the Cookie header for a request: name=value pairs in the order they were first
    // set, joined by "; "; empty when no cookie applies.
    QByteArray cookieHeader(const QString &host, const QByteArray &path) const;

private:
    struct Cookie
    {
        QString host;
        QByteArray path;
        QByteArray name;
        QByteArray value;
    };
    void store(Cookie cookie, bool expired);

    QList<Cookie> m_cookies;
};
