#pragma once
#include <optional>
#include <string>

namespace tf {

// Gives the application its name, version and desktop id; callable before the application
// object exists, so that --version needs no display and the window's id is known when it is
// created.
void announceApplication();

// The values of Qt's own options that choose where the window goes (-platform NAME,
// -display NAME); empty when not given.
struct QtOptions {
    std::string platform;
    std::string display;
};

// Answers --version and --help on standard output and refuses what is neither an option of
// the program nor one of Qt's own, before any display is needed; Qt's options found on the
// way are kept in `qt`. The exit status when the command line has been answered; empty when
// the worksheet is to start.
std::optional<int> answerCommandLine(int argc, char** argv, QtOptions& qt);

}  // namespace tf
