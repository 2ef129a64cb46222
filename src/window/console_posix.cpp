// A program started from a terminal writes to it through the standard streams it inherits.
#include "window/command_line.h"

namespace tf {

void prepareConsoleOutput() {}

}  // namespace tf
