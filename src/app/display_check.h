#pragma once
#include <memory>
#include <string>

#include "app/command_line.h"

namespace tf {

// What asking for a desktop found. Asked before the application object exists, of the display
// that Qt will use (none is asked when an explicitly chosen Qt platform needs none); a display
// that is named but not reachable yet is waited for a few seconds. One file per platform:
// display_check_posix.cpp, display_check_win.cpp.
struct DesktopCheck {
    // Why no window can be shown, in one or two sentences for the user ending in a line
    // break; empty when it can.
    std::string problem;
    // What the check holds until Qt has started, then lets go. Under X11, the connection that
    // answered: an X server whose last client leaves starts over, and would keep Qt waiting
    // while it does. On Windows, the hold on Qt's own message box (display_check_win.cpp).
    std::shared_ptr<void> connection;
};
DesktopCheck checkDesktop(const QtOptions& qt);

}  // namespace tf
