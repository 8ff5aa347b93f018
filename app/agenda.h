#pragma once

#include <QString>

class Clock;
class Query;

// Today's agenda: one entry per reminder whose date is today, "hh:MM:ss", two spaces, the subject and
// two carriage returns, in the order the store returns them. Runs today's select on qry5 and leaves it
// open; throws AppError when the store fails.
QString buildAgendaText(Query &qry5, const Clock &clock);

// One marquee step: the label's new top after moving up by one pixel, wrapping to the panel's bottom
// edge once its last line is 30 pixels past the panel's top edge.
int marqueeStep(int labelTop, int labelHeight, int panelHeight);
