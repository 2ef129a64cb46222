#pragma once

namespace tf {

// Starts the worksheet and runs it until its window is closed; the program's exit status.
int runWorksheet(int argc, char** argv);

// Whether a desktop session (or an explicitly chosen Qt platform) is there to show a window in.
// One file per platform: display_posix.cpp, display_win.cpp.
bool desktopAvailable(int argc, char** argv);

inline constexpr const char* kNoDesktopMessage =
    "Tallyforge is a desktop program and needs a desktop session to show its window, "
    "but no display was found (DISPLAY and WAYLAND_DISPLAY are not set or cannot be reached).\n";

}  // namespace tf
