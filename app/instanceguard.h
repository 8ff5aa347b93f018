#pragma once

#include <functional>

// One instance of the program per user and display. The first instance holds a lock on a file for its
// whole life and listens on a local socket; a later start finds the lock taken, sends "restore" over the
// socket, waits for the answer and ends. The system drops the lock (flock) when its holder ends in any
// way, so a killed first instance leaves nothing behind that could stop the next start.

// Takes the lock, or learns that another instance holds it. Runs once, before the application starts.
void OpenInstanceGuard();
// True when another instance runs and has been told to restore itself; this instance is then to end.
// False when this instance is the first: from then on `restore` runs for each later start.
bool CheckPreviousInstance(std::function<void()> restore);
// Releases the lock and the socket at program end.
void CloseInstanceGuard();
