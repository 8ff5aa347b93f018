#pragma once

#include <QString>

class ReminderStore;

// What the calendar import and export keep in the database file beside 日程提醒 (calendarTableStatements()):
// the occurrences already imported and the file's calendar id. Failures throw AppError, as the store's do.
class CalendarRecord
{
public:
    explicit CalendarRecord(ReminderStore &store);

    // Makes the tables where they are missing; a write, so inside the import's transaction.
    void prepare();
    // Whether the file holds the table of imported occurrences (a dry run makes nothing).
    bool hasImports();
    bool isImported(const QString &uid, const QString &start);
    // Records the occurrence; false when it was imported before.
    bool claim(const QString &uid, const QString &start);
    // The file's calendar id: made (random) and kept on first use, so that every export of this file gives
    // its events the same UIDs. A file that may only be read and holds none gets one made from its path.
    QString calendarId();

private:
    ReminderStore &m_store;
};
