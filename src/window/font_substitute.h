#pragma once
#include <QString>

namespace tf {

// The family that stands in for Verdana where it is not installed. One file per platform:
// font_substitute_posix.cpp (fontconfig's choice), font_substitute_win.cpp.
QString verdanaSubstitute();

}  // namespace tf
