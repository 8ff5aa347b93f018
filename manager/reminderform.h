#pragma once

#include "store/reminder.h"

#include <QMetaObject>

class QDate;
class QDateEdit;
class QLineEdit;
class QPlainTextEdit;
class QTimeEdit;

// The four inputs of a reminder on the add and modify pages.
struct ReminderForm
{
    QLineEdit *subjectEdit = nullptr;
    QPlainTextEdit *contentEdit = nullptr;
    QDateEdit *dateEdit = nullptr;
    QTimeEdit *timeEdit = nullptr;

    // The reminder as the form holds it: the subject trimmed, the content exactly as typed, the date and the
    // time of day, both invalid while the form shows none. It has no id.
    Reminder reminder() const;
    // Empty subject and content, `today`, midnight: ready for the next entry.
    void reset(const QDate &today);
    // Shows the date and time of `due`.
    void showDateAndTime(const QDateTime &due);
    // Shows no date and no time (for a row whose time cannot be read) until the user changes either; the
    // date's calendar opens on `today`.
    void showNoDateAndTime(const QDate &today);

private:
    bool showsDateAndTime() const;
    void fillDateAndTime();

    QMetaObject::Connection m_dateEdited;
    QMetaObject::Connection m_timeEdited;
};
