#pragma once

#include "caldav/caldavjob.h"
#include "caldav/calendarinfo.h"

// Makes a calendar for events in a calendar home (MKCALENDAR, RFC 4791), then reads it back as the server
// describes it.
class CalendarCreation : public CalDavJob
{
    Q_OBJECT

public:
    CalendarCreation(CalDavClient *client, const QUrl &home, const QString &displayName);

    const CalendarInfo &calendar() const { return m_calendar; }

private:
    void replied(const DavReply &reply) override;

    bool m_made = false;
    CalendarInfo m_calendar;
};
