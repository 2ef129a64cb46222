// Windows' Region settings turned into RegionalSettings.
//
// Windows names its currency forms by number; each is one placement of symbol, sign and
// space that CurrencyForm describes in localeconv()'s terms. Its groupings list sizes
// from the right, where a final 0 makes the size before it repeat and a list without
// one stops grouping after its last size: "3;0" is 1,234,567,890, "3" 1234567,890,
// "3;2;0" 1,23,45,67,890 and "0" 1234567890.
#include "money/money_region.h"

#include <algorithm>
#include <array>
#include <climits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tf {

namespace {

using enum SignPosition;

// iCurrency 0 to 3.
constexpr std::array<CurrencyForm, 4> kPositiveForms{{
    {true, 0, BeforeAll},   // $1.1
    {false, 0, BeforeAll},  // 1.1$
    {true, 1, BeforeAll},   // $ 1.1
    {false, 1, BeforeAll},  // 1.1 $
}};

// iNegCurr 0 to 16.
constexpr std::array<CurrencyForm, 17> kNegativeForms{{
    {true, 0, Parentheses},   // ($1.1)
    {true, 0, BeforeAll},     // -$1.1
    {true, 0, AfterSymbol},   // $-1.1
    {true, 0, AfterAll},      // $1.1-
    {false, 0, Parentheses},  // (1.1$)
    {false, 0, BeforeAll},    // -1.1$
    {false, 0, BeforeSymbol}, // 1.1-$
    {false, 0, AfterAll},     // 1.1$-
    {false, 1, BeforeAll},    // -1.1 $
    {true, 1, BeforeAll},     // -$ 1.1
    {false, 1, AfterAll},     // 1.1 $-
    {true, 1, AfterAll},      // $ 1.1-
    {true, 2, AfterSymbol},   // $ -1.1
    {false, 2, BeforeSymbol}, // 1.1- $
    {true, 1, Parentheses},   // ($ 1.1)
    {false, 1, Parentheses},  // (1.1 $)
    {true, 1, AfterSymbol},   // $- 1.1
}};

// A number from 0 to `most` written in decimal digits, or nothing.
std::optional<int> numberIn(const std::string& text, int most) {
    if (text.empty() || text.size() > 2) return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value > most) return std::nullopt;
    return value;
}

// A symbol or separator as Windows holds one: never with a digit in it, which would make
// "1,000" read as another number; or nothing.
std::optional<std::string> symbolOf(const std::string& text) {
    if (text.find_first_of("0123456789") != std::string::npos) return std::nullopt;
    return text;
}

// A grouping such as "3;2;0" as group sizes in localeconv()'s sense, or nothing.
std::optional<std::vector<int>> groupingOf(const std::string& text) {
    std::vector<int> sizes;
    std::size_t at = 0;
    for (;;) {
        const std::size_t end = std::min(text.find(';', at), text.size());
        const std::optional<int> size = numberIn(text.substr(at, end - at), 9);
        if (!size) return std::nullopt;
        sizes.push_back(*size);
        if (end == text.size()) break;
        at = end + 1;
    }
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        if (sizes[i] == 0) {
            sizes.resize(i);  // the size before repeats; a first 0 groups nothing
            return sizes;
        }
    }
    sizes.push_back(CHAR_MAX);
    return sizes;
}

}  // namespace

RegionalSettings settingsFromRegion(const RegionValues& v) {
    RegionalSettings s;  // the cost table's, for any value Windows would not hold

    if (auto symbol = symbolOf(v.sCurrency)) s.currencySymbol = *symbol;
    if (auto point = symbolOf(v.sMonDecimalSep)) s.monDecimalPoint = *point;
    if (auto separator = symbolOf(v.sMonThousandSep)) s.monThousandsSep = *separator;
    if (auto grouping = groupingOf(v.sMonGrouping)) s.monGrouping = std::move(*grouping);
    if (auto digits = numberIn(v.iCurrDigits, 9)) s.currencyDigits = *digits;
    if (auto zero = numberIn(v.iLZero, 1)) s.leadingZero = *zero == 1;
    s.positiveSign.clear();
    if (!v.sNegativeSign.empty() && symbolOf(v.sNegativeSign)) s.negativeSign = s.numberNegativeSign = v.sNegativeSign;
    if (auto form = numberIn(v.iCurrency, 3)) s.positiveForm = kPositiveForms[*form];
    if (auto form = numberIn(v.iNegCurr, 16)) s.negativeForm = kNegativeForms[*form];

    if (auto point = symbolOf(v.sDecimal)) s.decimalPoint = *point;
    if (auto separator = symbolOf(v.sThousand)) s.thousandsSep = *separator;
    if (auto grouping = groupingOf(v.sGrouping)) s.grouping = std::move(*grouping);
    if (auto form = numberIn(v.iNegNumber, 4)) s.negativeNumberForm = NegativeNumberForm(*form);
    return s;
}

}  // namespace tf
