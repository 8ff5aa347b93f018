#pragma once

#include <QByteArray>

// The notice request on the wire: "GET <target> HTTP/1.1", then Content-Type, Host, Accept, User-Agent
// and, when cookieHeader is not empty, Cookie, each line ended by CR LF, and an empty line. No other
// header and no body. A header line longer than 78 characters is folded at a space, tab or comma; each
// continuation line begins with one space.
QByteArray httpRequest(const QByteArray &target, const QByteArray &host, const QByteArray &cookieHeader);
