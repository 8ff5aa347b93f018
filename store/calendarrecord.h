#pragma once

#include <QString>
#include <optional>

class ReminderStore;

// A series that the import kept as a rule: the reminder it made and the digest of the event it came from.
struct ImportedSeries
{
    qint64 reminder = 0;
    QString fingerprint;
};

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
    // The series imported under `uid`; none for a series imported before the file kept them.
    std::optional<ImportedSeries> series(const QString &uid);
    // Keeps (or replaces) what the series under `uid` made; a write, inside the import's transaction.
    void keepSeries(const QString &uid, const ImportedSeries &series);
    // The file's calendar id: made (random) and kept on first use, so that every export of this file gives
    // its events the same UIDs. A file that may only be read and holds none gets one made from its path.
    QString calendarId();

private:
    ReminderStore &m_store;
};
