// Windows always has a desktop to show the window on: the interactive session's.
#include "window/startup.h"

namespace tf {

std::string desktopProblem(int, char**) { return {}; }

}  // namespace tf
