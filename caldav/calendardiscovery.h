#pragma once

#include "caldav/caldavjob.h"
#include "caldav/calendarinfo.h"

#include <QList>
#include <QUrl>

// Finds the calendars of the account from the address the user gave (RFC 6764, RFC 4791, RFC 5397): that
// address itself when it is a calendar; else the principal it or the server's /.well-known/caldav names, its
// calendar home, and the calendars in that home.
class CalendarDiscovery : public CalDavJob
{
    Q_OBJECT

public:
    CalendarDiscovery(CalDavClient *client, const QUrl &address);

    bool addressIsCalendar() const { return m_addressIsCalendar; }
    // Where new calendars go; empty when the address is a calendar.
    QUrl calendarHome() const { return m_home; }
    // All calendars found, also those that take no events (see acceptsEvents).
    const QList<CalendarInfo> &calendars() const { return m_calendars; }

private:
    enum class Step { Start, Principal, Home };

    void replied(const DavReply &reply) override;
    void started(const DavReply &reply);
    void principalRead(const DavReply &reply);
    void homeListed(const DavReply &reply);
    void ask(Step step, const QUrl &url, const QByteArray &depth);

    Step m_step = Step::Start;
    // The addresses to start from, in turn, until one leads to calendars.
    QList<QUrl> m_starts;
    bool m_addressIsCalendar = false;
    QUrl m_home;
    QList<CalendarInfo> m_calendars;
};
