#include "manager/reminderform.h"

#include "core/text.h"
#include "core/wallclock.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimeEdit>

namespace {

// Shown instead of a field's lowest value; a special text must not be empty.
const QString kNoValue = QStringLiteral(" ");

} // namespace

Reminder ReminderForm::reminder() const
{
    Reminder reminder;
    reminder.subject = withoutOuterSpacesAndControls(subjectEdit->text());
    reminder.content = contentEdit->toPlainText();
    if (showsDateAndTime()) {
        reminder.day = dateEdit->date();
        reminder.due = WallClock::at(reminder.day, timeEdit->time());
    }
    return reminder;
}

void ReminderForm::reset(const QDate &today)
{
    subjectEdit->clear();
    contentEdit->clear();
    showDateAndTime(WallClock::at(today));
}

void ReminderForm::showDateAndTime(const QDateTime &due)
{
    fillDateAndTime();
    dateEdit->setDate(due.date());
    timeEdit->setTime(due.time());
}

void ReminderForm::showNoDateAndTime(const QDate &today)
{
    fillDateAndTime();
    // Today and midnight become the lowest values, which the fields show as their special text.
    dateEdit->setMinimumDate(today);
    dateEdit->setDate(today);
    dateEdit->setSpecialValueText(kNoValue);
    timeEdit->setTime(QTime(0, 0));
    timeEdit->setSpecialValueText(kNoValue);
    const auto edited = [this] { fillDateAndTime(); };
    m_dateEdited = QObject::connect(dateEdit, &QDateEdit::dateChanged, dateEdit, edited);
    m_timeEdited = QObject::connect(timeEdit, &QTimeEdit::timeChanged, timeEdit, edited);
}

bool ReminderForm::showsDateAndTime() const
{
    return dateEdit->specialValueText().isEmpty();
}

void ReminderForm::fillDateAndTime()
{
    QObject::disconnect(m_dateEdited);
    QObject::disconnect(m_timeEdited);
    dateEdit->setSpecialValueText({});
    dateEdit->clearMinimumDate();
    timeEdit->setSpecialValueText({});
}
