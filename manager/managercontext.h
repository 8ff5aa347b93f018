#pragma once

#include <functional>

class Clock;
class Dialogs;
class ReminderList;
class ReminderStore;

// What the pages of one manager window work with: the program's store, notices and clock, the main
// window's agenda refresh, and the window's list of reminders.
struct ManagerContext
{
    ReminderStore &store;
    Dialogs &dialogs;
    const Clock &clock;
    // Rebuilds today's agenda on the main window; throws AppError when the store fails.
    std::function<void()> refreshAgenda;
    ReminderList &list;
};
