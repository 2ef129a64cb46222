// Windows always has a desktop to show the window on: the interactive session's.
#include "window/startup.h"

namespace tf {

bool desktopAvailable(int, char**) { return true; }

}  // namespace tf
