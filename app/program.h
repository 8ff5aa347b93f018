#pragma once

// Creates the program's windows and the store in their order and runs until the main window ends the
// program. Returns the exit code.
int runProgram();
