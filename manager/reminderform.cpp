#include "manager/reminderform.h"

#include "core/text.h"
#include "core/wallclock.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimeEdit>

Reminder ReminderForm::reminder() const
{
    Reminder reminder;
    reminder.subject = withoutOuterSpacesAndControls(subjectEdit->text());
    reminder.content = contentEdit->toPlainText();
    reminder.day = dateEdit->date();
    reminder.due = WallClock::at(reminder.day, timeEdit->time());
    return reminder;
}

void ReminderForm::reset(const QDate &today)
{
    subjectEdit->clear();
    contentEdit->clear();
    dateEdit->setDate(today);
    timeEdit->setTime(QTime(0, 0));
}
