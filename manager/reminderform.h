#pragma once

#include "store/reminder.h"

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
    // time of day. It has no id.
    Reminder reminder() const;
    // Empty subject and content, `today`, midnight: ready for the next entry.
    void reset(const QDate &today);
};
