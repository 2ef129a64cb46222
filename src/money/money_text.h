#pragma once
// The text side of the money conversions: reading a number or amount text into its
// decimal digits, rounding digit strings, and writing digits in the settings' forms.
// Internal to tf_money.
#include "money/money.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tf::text {

// A decimal number as digit strings: the integer part without leading zeros (empty
// for zero) and the decimals as written.
struct Decimal {
    bool negative = false;
    std::string intDigits;
    std::string fracDigits;

    bool isZero() const;
};

// Group sizes from the right in the localeconv() sense: the last size repeats, a 0
// repeats the one before, and a negative size or CHAR_MAX ends grouping (the digits
// left of it form one group of any length).
class GroupRule {
public:
    explicit GroupRule(const std::vector<int>& grouping);
    // Size of the i-th group from the right; 0 when that group is unbounded.
    int size(std::size_t i) const;
    bool groups() const { return !sizes_.empty(); }

private:
    std::vector<int> sizes_;
    bool stops_ = false;
};

// The value of a number or amount text under the settings, or nothing when the text
// is not one.
std::optional<Decimal> read(std::string_view text, const RegionalSettings& settings);

// The exact product, with all the decimals of both factors; work grows with the product
// of their lengths.
Decimal multiply(const Decimal& a, const Decimal& b);

// Rounds to the given number of decimals, half away from zero, and pads the decimals
// with zeros to that count. A value that rounds to zero loses its sign.
void roundHalfAwayFromZero(Decimal& d, std::size_t places);

// The integer digits grouped with the separator.
std::string groupDigits(std::string_view digits, std::string_view separator, const GroupRule& rule);

// An amount rounded to the currency's decimals, in the settings' currency form.
std::string composeAmount(const Decimal& rounded, const RegionalSettings& settings);
// A whole number (no decimals) in the settings' number form.
std::string composeWholeNumber(const Decimal& rounded, const RegionalSettings& settings);

}  // namespace tf::text
