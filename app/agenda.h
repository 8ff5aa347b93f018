#pragma once

#include "store/reminder.h"

#include <QList>
#include <QString>

// Today's agenda: one entry per reminder, "hh:MM:ss", two spaces, the subject and two carriage returns, by
// time of day (equal times in the order given). A time that names no time of day reads 00:00:00, a missing
// subject as empty.
QString agendaText(QList<Reminder> reminders);

// The first of the day's reminders not yet due at `now` ("hh:mm:ss  subject", by time of day as in the
// agenda); empty when none is left.
QString nextReminderText(const QList<Reminder> &reminders, QTime now);
// The reminders put off to today as the agenda shows them, among the others at their new time: each subject
// marked "（稍后）".
QList<Reminder> snoozedEntries(QList<Reminder> snoozed);

// One marquee step: the label's new top after moving up by one pixel, wrapping to the panel's bottom edge
// once its last line is 30 pixels past the panel's top edge.
int marqueeStep(int labelTop, int labelHeight, int panelHeight);
