#pragma once

class InstanceGuard;

// Runs the program in the running application: a later start asks the first instance forward and ends; the
// first one makes its services, the store and its windows once, here, and runs until the main window ends
// the program. Returns the exit code.
int runProgram(InstanceGuard &guard);
