#pragma once
#include <optional>

namespace tf {

// Gives the application its name, version and desktop id; callable before the application
// object exists, so that --version needs no display and the window's id is known when it is
// created.
void announceApplication();

// Answers --version and --help on standard output and refuses what is neither an option of
// the program nor one of Qt's own, before any display is needed. The exit status when the
// command line has been answered; empty when the worksheet is to start.
std::optional<int> answerCommandLine(int argc, char** argv);

// Makes standard output and standard error reach the user before the command line is
// answered. One file per platform: console_posix.cpp (nothing to do), console_win.cpp.
void prepareConsoleOutput();

}  // namespace tf
