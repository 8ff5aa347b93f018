#include "app/agenda.h"

#include <QCoreApplication>
#include <algorithm>

namespace {
// A time that names no time of day reads as midnight, so that the entry still shows.
QTime timeOfDay(const Reminder &reminder)
{
    return reminder.due.isValid() ? reminder.due.time() : QTime(0, 0);
}
} // namespace

QString agendaText(QList<Reminder> reminders)
{
    std::stable_sort(reminders.begin(), reminders.end(),
                     [](const Reminder &a, const Reminder &b) { return timeOfDay(a) < timeOfDay(b); });
    QString text;
    for (const Reminder &reminder : std::as_const(reminders))
        text += timeOfDay(reminder).toString(QStringLiteral("hh:mm:ss")) + QStringLiteral("  ") + reminder.subject
                + QStringLiteral("\r\r");
    return text;
}

QString nextReminderText(const QList<Reminder> &reminders, QTime now)
{
    const Reminder *next = nullptr;
    for (const Reminder &reminder : reminders) {
        if (timeOfDay(reminder) >= now && (!next || timeOfDay(reminder) < timeOfDay(*next)))
            next = &reminder;
    }
    return next ? timeOfDay(*next).toString(QStringLiteral("hh:mm:ss")) + QStringLiteral("  ") + next->subject
                : QString();
}

QList<Reminder> snoozedEntries(QList<Reminder> snoozed)
{
    for (Reminder &reminder : snoozed)
        reminder.subject += QCoreApplication::translate("Agenda", "（稍后）");
    return snoozed;
}

int marqueeStep(int labelTop, int labelHeight, int panelHeight)
{
    const int top = labelTop - 1;
    return top < -(labelHeight + 30) ? panelHeight : top;
}
