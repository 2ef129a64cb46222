// Windows keeps its fonts known to every process; Qt's own listing of them is quick and
// needs the application object.
#include "app/font_warmup.h"

namespace tf {

std::shared_ptr<void> startFontWarmup() { return nullptr; }

}  // namespace tf
