// libFuzzer target for settingsFromRegion: the user's Region settings as a registry can
// hold them, any text in any value. The input is the thirteen values in RegionValues'
// order, separated by NUL bytes (which no registry string holds); missing values keep the
// defaults. Besides running clean under the address and undefined behaviour sanitizers:
//  - the settings never ask for more than nine decimals or for a group of zero digits;
//  - settings the worksheet keeps (worksheetSettings) write amounts of either sign that
//    read back as the same amount rounded to their decimals: a few fixed ones, and one
//    made of the eight bytes after the thirteenth value.
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <string>

#include "estimate/settings.h"
#include "money/money_region.h"
#include "money_settings.h"

using namespace tf;

namespace {

[[noreturn]] void fail(const char* what, const std::string& detail) {
    std::fprintf(stderr, "region fuzz: %s: %s\n", what, detail.c_str());
    std::abort();
}

bool groupsSound(const std::vector<int>& grouping) {
    for (std::size_t i = 0; i < grouping.size(); ++i)
        if (grouping[i] <= 0 && !(grouping[i] == CHAR_MAX && i + 1 == grouping.size())) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    RegionValues v;
    std::string* fields[] = {&v.sCurrency,   &v.iCurrency,      &v.iNegCurr,   &v.sMonDecimalSep,
                             &v.sMonThousandSep, &v.sMonGrouping, &v.iCurrDigits, &v.iLZero,
                             &v.sDecimal,    &v.sThousand,      &v.sGrouping,  &v.iNegNumber,
                             &v.sNegativeSign};
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::size_t at = 0;
    for (std::string* field : fields) {
        if (at > input.size()) break;
        const std::size_t end = std::min(input.find('\0', at), input.size());
        *field = input.substr(at, end - at);
        at = end + 1;
    }

    const RegionalSettings s = settingsFromRegion(v);
    if (s.currencyDigits < 0 || s.currencyDigits > 9) fail("currency digits out of range", input);
    if (!groupsSound(s.monGrouping) || !groupsSound(s.grouping)) fail("a group of no digits", input);
    std::int64_t fuzzed = 0;
    if (at + sizeof fuzzed <= input.size()) std::memcpy(&fuzzed, input.data() + at, sizeof fuzzed);
    const int decimals = s.currencyDigits < 4 ? s.currencyDigits : 4;
    for (std::int64_t units : {std::int64_t{0}, std::int64_t{5}, std::int64_t{123456}, std::int64_t{289100},
                               std::int64_t{-5}, std::int64_t{-289100}, fuzzed}) {
        const std::optional<Money> rounded = tf::testing::roundedTo(Money::fromUnits(units), decimals);
        if (!rounded) continue;  // beyond the range of Money once rounded
        const std::string shown = FormatMoney(Money::fromUnits(units), s);
        bool readsBack = false;
        try {
            readsBack = ParseMoney(shown, s) == *rounded;
        } catch (const MoneyError&) {
        }
        // A fault only where the worksheet keeps these settings; asked only then, as the
        // check against the cost table is the slow part.
        if (readsBack) continue;
        if (worksheetSettings(s) == s) fail("an amount does not read back as itself", shown + " for " + std::to_string(units));
        return 0;
    }
    return 0;
}
