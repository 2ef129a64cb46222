// The user's regional settings on Windows: the Region settings of the user's locale,
// with the changes the user made to them, as GetLocaleInfoEx reports them.
#include "money/settings_reader.h"

#include "money/money_region.h"

#include <windows.h>

#include <optional>
#include <string>
#include <utility>

namespace tf {

namespace {

// One value of the user's locale in UTF-8, or nothing when it cannot be read.
std::optional<std::string> localeInfo(LCTYPE type) {
    const int wideSize = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, nullptr, 0);
    if (wideSize <= 0) return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(wideSize), L'\0');
    const int got = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, wide.data(), wideSize);
    if (got <= 0) return std::nullopt;
    wide.resize(static_cast<std::size_t>(got - 1));  // without the terminating null
    if (wide.empty()) return std::string();
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, nullptr);
    if (size <= 0) return std::nullopt;
    std::string text(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(), size,
                        nullptr, nullptr);
    return text;
}

// A value that cannot be read keeps the cost table's.
void read(LCTYPE type, std::string& into) {
    if (std::optional<std::string> value = localeInfo(type)) into = std::move(*value);
}

}  // namespace

RegionalSettings readUserSettings() {
    RegionValues v;
    read(LOCALE_SCURRENCY, v.sCurrency);
    read(LOCALE_ICURRENCY, v.iCurrency);
    read(LOCALE_INEGCURR, v.iNegCurr);
    read(LOCALE_SMONDECIMALSEP, v.sMonDecimalSep);
    read(LOCALE_SMONTHOUSANDSEP, v.sMonThousandSep);
    read(LOCALE_SMONGROUPING, v.sMonGrouping);
    read(LOCALE_ICURRDIGITS, v.iCurrDigits);
    read(LOCALE_ILZERO, v.iLZero);
    read(LOCALE_SDECIMAL, v.sDecimal);
    read(LOCALE_STHOUSAND, v.sThousand);
    read(LOCALE_SGROUPING, v.sGrouping);
    read(LOCALE_INEGNUMBER, v.iNegNumber);
    read(LOCALE_SNEGATIVESIGN, v.sNegativeSign);
    return settingsFromRegion(v);
}

}  // namespace tf
