#pragma once
#include <QString>

namespace tf {

// Tells the user why the worksheet ends without showing its window: `sentences` (one or two
// sentences of ours, ending in a line break, and nothing of Qt's own messages) go to standard
// error where the program has one (a terminal, a console, a file, a pipe). Where it has none,
// as a Windows program started from the Start menu or Explorer, they are shown in a message
// box, and this returns once the user has closed it. One file per platform:
// startup_failure_posix.cpp, startup_failure_win.cpp.
void reportStartupFailure(const QString& sentences);

}  // namespace tf
