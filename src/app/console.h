#pragma once

namespace tf {

// Makes standard output and standard error reach the user before the command line is
// answered. One file per platform: console_posix.cpp (nothing to do), console_win.cpp.
void prepareConsoleOutput();

}  // namespace tf
