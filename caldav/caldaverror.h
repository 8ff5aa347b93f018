#pragma once

#include <QString>

// Why a CalDAV operation did not succeed.
enum class CalDavError {
    None,
    InvalidAddress,       // not an http(s) address with a host
    InsecureAddress,      // plain http to another machine, which the user has not allowed
    NoServer,             // connection refused, host not found
    ConnectionLost,       // the connection broke before the answer was complete
    Timeout,              // no answer in time
    UntrustedCertificate, // the TLS handshake failed: a certificate not trusted or not for this host
    WrongPassword,        // 401, or 403: this user may not use the address
    NotACalendar,         // the address is no CalDAV calendar, and no calendar was found from it
    Conflict,             // 412: the event changed on the server (or exists already) since it was read
    SyncTokenExpired,     // the server no longer knows the sync token: list the calendar from the start
    Rejected,             // another 4xx answer
    ServerError,          // 5xx
    ProtocolError,        // an answer that cannot be understood: XML that does not parse, a redirect loop
};

// What to tell the user, in a sentence without the address or the password.
QString caldavErrorMessage(CalDavError error);
