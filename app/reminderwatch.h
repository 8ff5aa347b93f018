#pragma once

#include <functional>

class Clock;
class Query;

// The reminder watch: each tick re-opens qry4 on the first second of the current minute and raises the
// alert when reminders are due and the alert is not already showing. qry4 stays open for the alert to
// read. Keeps no state of its own.
class ReminderWatch
{
public:
    ReminderWatch(Query &qry4, const Clock &clock, std::function<bool()> alertShowing, std::function<void()> showAlert);

    // Throws AppError when the store fails; the next tick simply runs again.
    void tick();

private:
    Query &m_qry4;
    const Clock &m_clock;
    std::function<bool()> m_alertShowing;
    std::function<void()> m_showAlert;
};
