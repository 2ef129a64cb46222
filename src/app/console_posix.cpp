// A program started from a terminal writes to it through the standard streams it inherits.
#include "app/console.h"

namespace tf {

void prepareConsoleOutput() {}

}  // namespace tf
