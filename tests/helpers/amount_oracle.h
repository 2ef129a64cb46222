#pragma once
// An amount or number text read the plain way, to check the program's conversions and
// figures against: blanks and the currency symbol around the digits are dropped, a
// negative sign before or after them or parentheses around them make it negative, the
// group separator may stand anywhere before the decimal point. Strict about the digits,
// lenient about the forms, and with nothing in common with ParseMoney.
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "money/money.h"

namespace tf::testing {

// The value of `text` in units of 10^-scale (scale 2: cents), or nothing when it is not
// a number with at most `scale` decimals or does not fit in Int.
template <class Int = long long>
std::optional<Int> amountUnits(std::string_view text, int scale, const RegionalSettings& s = {}) {
    bool negative = false, symbol = false;
    auto dropFront = [&](std::string_view what) {
        const bool found = !what.empty() && text.starts_with(what);
        if (found) text.remove_prefix(what.size());
        return found;
    };
    auto dropBack = [&](std::string_view what) {
        const bool found = !what.empty() && text.ends_with(what);
        if (found) text.remove_suffix(what.size());
        return found;
    };
    for (bool dropped = true; dropped;) {
        dropped = false;
        for (std::string_view blank : {" ", "\xC2\xA0", "\xE2\x80\xAF"})
            while (dropFront(blank) || dropBack(blank)) dropped = true;
        if (!negative && text.size() > 1 && text.front() == '(' && text.back() == ')') {
            text = text.substr(1, text.size() - 2);
            negative = dropped = true;
        }
        if (!negative && (dropFront(s.negativeSign) || dropBack(s.negativeSign))) negative = dropped = true;
        if (!symbol && (dropFront(s.currencySymbol) || dropBack(s.currencySymbol))) symbol = dropped = true;
    }
    // Whether one more digit could overflow (a 128-bit Int has no limits in standard C++).
    auto tooBig = [](Int v) {
        if constexpr (std::numeric_limits<Int>::is_specialized)
            return v > (std::numeric_limits<Int>::max() - 9) / 10;
        return false;
    };
    Int value = 0;
    int decimals = -1;
    bool digits = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::string_view rest = text.substr(i);
        if (decimals < 0 && !s.monThousandsSep.empty() && rest.starts_with(s.monThousandsSep)) {
            i += s.monThousandsSep.size() - 1;
        } else if (decimals < 0 && rest.starts_with(s.monDecimalPoint)) {
            decimals = 0;
            i += s.monDecimalPoint.size() - 1;
        } else if (text[i] >= '0' && text[i] <= '9') {
            if (decimals >= 0 && ++decimals > scale) return std::nullopt;
            if (tooBig(value)) return std::nullopt;
            value = value * 10 + (text[i] - '0');
            digits = true;
        } else {
            return std::nullopt;
        }
    }
    if (!digits) return std::nullopt;
    for (int d = decimals < 0 ? 0 : decimals; d < scale; ++d) {
        if (tooBig(value)) return std::nullopt;
        value *= 10;
    }
    return negative ? -value : value;
}

}  // namespace tf::testing
