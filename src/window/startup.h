#pragma once
#include <QString>
#include <memory>
#include <string>

namespace tf {

// Starts the worksheet and runs it until its window is closed; the program's exit status.
int runWorksheet(int argc, char** argv);

// What asking for a desktop found. Asked before the application object exists, of the display
// that Qt will use (none is asked when an explicitly chosen Qt platform needs none); a display
// that is named but not reachable yet is waited for a few seconds. One file per platform:
// display_posix.cpp, display_win.cpp.
struct DesktopCheck {
    // Why no window can be shown, in one or two sentences for the user ending in a line
    // break; empty when it can.
    std::string problem;
    // What the check holds until Qt has started, then lets go. Under X11, the connection that
    // answered: an X server whose last client leaves starts over, and would keep Qt waiting
    // while it does. On Windows, the hold on Qt's own message box (display_win.cpp).
    std::shared_ptr<void> connection;
};
DesktopCheck checkDesktop(int argc, char** argv);

// One sentence on what usually mends a Qt platform plugin that is missing or cannot be
// loaded (`loadError`: the loader's own reason, empty when the plugin is not there at all),
// or empty when nothing is known to mend it. One file per platform: platform_remedy_posix.cpp,
// platform_remedy_win.cpp.
QString platformRemedy(const QString& plugin, const QString& loadError);

inline constexpr const char* kNoDesktopMessage =
    "Tallyforge is a desktop program and needs a desktop session to show its window, "
    "but no display was found (DISPLAY and WAYLAND_DISPLAY are not set).\n";

}  // namespace tf
