#include "app/agenda.h"

QString agendaText(const QList<Reminder> &reminders)
{
    QString text;
    for (const Reminder &reminder : reminders)
        text += reminder.due.toString(QStringLiteral("hh:mm:ss")) + QStringLiteral("  ") + reminder.subject
                + QStringLiteral("\r\r");
    return text;
}

int marqueeStep(int labelTop, int labelHeight, int panelHeight)
{
    const int top = labelTop - 1;
    return top < -(labelHeight + 30) ? panelHeight : top;
}
