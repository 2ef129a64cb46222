#pragma once
// Where the user's regional settings come from. One file per platform:
// settings_reader_posix.cpp (the C library's locale), settings_reader_win.cpp (the user's
// Region settings).
#include "money/money.h"

namespace tf {

// The user's settings as the platform keeps them: the C library's locale
// (setlocale(LC_ALL, "") then localeconv()), or the user's Region settings on Windows.
RegionalSettings readUserSettings();

}  // namespace tf
