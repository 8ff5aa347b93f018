#pragma once

#include "caldav/caldavjob.h"

#include <QString>
#include <QUrl>

struct DavResource;

// A calendar collection as the server describes it.
struct CalendarInfo
{
    QUrl url;
    QString displayName;
    bool acceptsEvents = false; // VEVENT is among its components, or it names none
    bool supportsSyncCollection = false;
    QString ctag; // changes with every change in the calendar; empty when the server keeps none
};

// The calendar that `resource`, from an answer of `replyUrl`, describes.
CalendarInfo calendarInfo(const DavResource &resource, const QUrl &replyUrl);

// A PROPFIND of `url` for what a CalendarInfo holds and what leads to calendars: the resource type, the
// principal and the calendar home.
DavRequest calendarPropfind(const QUrl &url, const QByteArray &depth);
