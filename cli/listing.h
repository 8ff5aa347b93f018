#pragma once

#include <QDate>

class QTextStream;
class ReminderStore;

// The days that list shows: from `first` to `last`, both included; an invalid date leaves that end open.
struct ListRange
{
    QDate first;
    QDate last;
};

// The reminders of `days` in time order as aligned columns for people: id, date and time, the repeat (in a
// file that has repeating reminders), subject and the content shortened to one line.
void listTable(ReminderStore &store, const ListRange &days, QTextStream &out);
// The same as one JSON array of objects {id, subject, content, due, day}: due in ISO 8601 local time
// ("2026-03-04T09:30:00"), day "2026-03-04"; null where the row holds no readable value. Written a row at
// a time. A repeating reminder's object also has repeat, its RFC 5545 rule ("FREQ=WEEKLY").
void listJson(ReminderStore &store, const ListRange &days, QTextStream &out);
