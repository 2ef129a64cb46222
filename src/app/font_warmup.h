#pragma once
#include <memory>

namespace tf {

// Starts reading the platform's font configuration on a thread of its own, so that it
// overlaps with Qt loading its platform and connecting to the display instead of coming
// after it, when the window measures its first text. Releasing the handle waits until it is
// done; release it once the application object exists and before the window is built, so
// that Qt finds the configuration read and never reads it a second time beside it. One file
// per platform: font_warmup_posix.cpp (fontconfig, and Verdana's stand-in), font_warmup_win.cpp
// (nothing ahead).
std::shared_ptr<void> startFontWarmup();

}  // namespace tf
