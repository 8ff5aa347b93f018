#pragma once

#include <QString>
#include <QUrl>

// The calendar the program syncs with and how it signs in, as the user set it up.
struct SyncAccount
{
    QUrl calendar;
    QString user;
    QString password;
    // Plain http to another machine, which the user confirmed.
    bool insecureHttpAllowed = false;

    bool isSet() const { return calendar.isValid() && !user.isEmpty(); }
    bool operator==(const SyncAccount &other) const
    {
        return calendar == other.calendar && user == other.user && password == other.password
               && insecureHttpAllowed == other.insecureHttpAllowed;
    }
    bool operator!=(const SyncAccount &other) const { return !(*this == other); }
};
