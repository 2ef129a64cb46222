#pragma once
// Windows' Region settings as values, and the RegionalSettings they describe. Plain
// C++: money_locale_win.cpp reads the values, this turns them into settings, so every
// form Windows knows can be checked on any platform.
#include "money/money.h"

#include <string>

namespace tf {

// The user's Region settings, one member per value, named as the values under
// HKCU\Control Panel\International: the text GetLocaleInfoEx gives for the LOCALE_
// constant of the same name (LOCALE_SCURRENCY for sCurrency), in UTF-8. The defaults
// describe the cost table's settings.
struct RegionValues {
    std::string sCurrency = "$";
    std::string iCurrency = "0";  // positive amounts: 0 "$1.1", 1 "1.1$", 2 "$ 1.1", 3 "1.1 $"
    std::string iNegCurr = "1";   // negative amounts: 0 "($1.1)", 1 "-$1.1" ... 16 "$- 1.1"
    std::string sMonDecimalSep = ".";
    std::string sMonThousandSep = ",";
    std::string sMonGrouping = "3;0";  // "3;0" groups of three, "3" one group, "3;2;0", "0"
    std::string iCurrDigits = "2";
    std::string iLZero = "1";          // 0 ".5", 1 "0.5"
    std::string sDecimal = ".";
    std::string sThousand = ",";
    std::string sGrouping = "3;0";
    std::string iNegNumber = "1";      // 0 "(1.1)", 1 "-1.1", 2 "- 1.1", 3 "1.1-", 4 "1.1 -"
    std::string sNegativeSign = "-";
};

// The settings the values describe, written as Windows writes amounts and numbers (no
// sign before a positive one). A value Windows would not hold, such as an iNegCurr
// beyond 16, a grouping that is not digits separated by ";" or a separator with a digit
// in it, counts as the cost table's.
RegionalSettings settingsFromRegion(const RegionValues& values);

}  // namespace tf
