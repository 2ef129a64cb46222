// Money, its sums, and the conversions between texts and numbers under the user's
// regional settings.
//
// The conversions work on decimal digit strings. ParseMoney never goes through a
// binary floating-point value, so "0.1" is exactly 1000 units; ParseNumber hands one
// normalised digit string to a correctly rounding reader; a double is shown from its
// exact binary value. All loops are linear in the length of the text: a text of a
// million digits is answered as quickly as it can be read. The one exception is the
// product of two texts, whose work grows with the product of their lengths; an hourly
// cost has a handful of digits, so it too grows only with the length of the hours.
//
// Rounding: every rounding here is half away from zero, the rule users of money
// expect. ParseMoney rounds to four decimals (1.00005 -> 1.0001, -1.00005 -> -1.0001),
// FormatMoney to the currency's decimals ($0.125 -> $0.13) and FormatWholeNumber to a
// whole (2.5 -> 3, -2.5 -> -3). A double is rounded from its exact binary value, which
// is an exact tie only when it really is one (0.125 is; 1.005 is 1.00499999999999989...
// and shows as $1.00). A product of an amount text and a number text never goes through
// a double: it is made exactly from the digits as written and rounded once, so
// $36.53 x 4.5 = 164.385 shows as $164.39, the figure anyone checking by hand gets.
//
// Which separators a text may use: a text that carries the currency symbol is read
// with the currency separators (mon_decimal_point, mon_thousands_sep, mon_grouping)
// only. A text without the symbol is first read as a plain number with the number
// separators (decimal_point, thousands_sep, grouping); if it does not read that way,
// it is read as an amount written without its symbol, with the currency separators.
// Where the two sets differ and a text reads both ways, the plain-number reading wins:
// that is what FormatWholeNumber writes, while FormatMoney writes the symbol.
#include "money/money.h"

#include "money/money_text.h"

#include <bit>
#include <charconv>
#include <climits>
#include <cmath>
#include <limits>
#include <optional>
#include <utility>

namespace tf {

namespace {

constexpr std::uint64_t kMaxMagnitude = static_cast<std::uint64_t>(INT64_MAX);
constexpr std::uint64_t kMinMagnitude = kMaxMagnitude + 1;  // of INT64_MIN

// The most decimals an amount is shown with; settings asking for more are capped.
constexpr int kMaxCurrencyDigits = 18;

int currencyPlaces(const RegionalSettings& s) {
    if (s.currencyDigits < 0) return 0;
    return s.currencyDigits > kMaxCurrencyDigits ? kMaxCurrencyDigits : s.currencyDigits;
}

std::string shortened(std::string_view text) {
    constexpr std::size_t kShown = 40;
    if (text.size() <= kShown) return std::string(text);
    return std::string(text.substr(0, kShown)) + "...";
}

[[noreturn]] void notANumber(std::string_view text) {
    throw ConversionError("not a number under the regional settings: \"" + shortened(text) +
                          "\"");
}

// The decimal digits of a Money value: integer part without leading zeros, four decimals.
text::Decimal decimalOf(Money value) {
    const std::int64_t units = value.units();
    const std::uint64_t magnitude =
        units < 0 ? static_cast<std::uint64_t>(-(units + 1)) + 1 : static_cast<std::uint64_t>(units);
    text::Decimal d;
    d.negative = units < 0;
    const std::uint64_t whole = magnitude / Money::kUnitsPerWhole;
    if (whole != 0) d.intDigits = std::to_string(whole);
    std::string frac = std::to_string(magnitude % Money::kUnitsPerWhole);
    d.fracDigits = std::string(4 - frac.size(), '0') + frac;
    return d;
}

// The exact decimal expansion of a finite double.
text::Decimal decimalOf(double value) {
    if (!std::isfinite(value)) throw OverflowError("not a finite number");
    // value = mantissa * 2^exponent with an odd mantissa: it has exactly -exponent
    // decimals when the exponent is negative, none otherwise.
    int precision = 0;
    if (value != 0) {
        int exp2 = 0;
        const double m = std::frexp(std::fabs(value), &exp2);  // m in [0.5, 1)
        const auto mantissa = static_cast<std::uint64_t>(std::ldexp(m, 53));
        const int lowBit = exp2 - 53 + std::countr_zero(mantissa);
        precision = lowBit < 0 ? -lowBit : 0;
    }
    // 309 integer digits + point + at most 1074 decimals + sign.
    char buffer[1400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::fixed, precision);
    if (result.ec != std::errc()) throw OverflowError("number cannot be shown");
    std::string_view digits(buffer, static_cast<std::size_t>(result.ptr - buffer));
    text::Decimal d;
    if (!digits.empty() && digits.front() == '-') {
        d.negative = true;
        digits.remove_prefix(1);
    }
    const std::size_t point = digits.find('.');
    std::string_view whole = digits.substr(0, point);
    if (point != std::string_view::npos) d.fracDigits = std::string(digits.substr(point + 1));
    const std::size_t first = whole.find_first_not_of('0');
    if (first != std::string_view::npos) d.intDigits = std::string(whole.substr(first));
    return d;
}

Money toMoney(const text::Decimal& d) {
    constexpr std::size_t kMaxWholeDigits = 15;  // 922,337,203,685,477
    if (d.intDigits.size() > kMaxWholeDigits) throw OverflowError("amount out of range");
    std::uint64_t magnitude = 0;
    for (char c : d.intDigits) magnitude = magnitude * 10 + static_cast<std::uint64_t>(c - '0');
    for (std::size_t i = 0; i < 4; ++i) {
        const char c = i < d.fracDigits.size() ? d.fracDigits[i] : '0';
        magnitude = magnitude * 10 + static_cast<std::uint64_t>(c - '0');
    }
    if (d.fracDigits.size() > 4 && d.fracDigits[4] >= '5') ++magnitude;  // half away from zero
    if (d.negative) {
        if (magnitude > kMinMagnitude) throw OverflowError("amount out of range");
        return Money::fromUnits(magnitude == kMinMagnitude
                                    ? INT64_MIN
                                    : -static_cast<std::int64_t>(magnitude));
    }
    if (magnitude > kMaxMagnitude) throw OverflowError("amount out of range");
    return Money::fromUnits(static_cast<std::int64_t>(magnitude));
}

double toDouble(const text::Decimal& d) {
    // from_chars on a normalised copy: optional '-', digits, '.', digits. It rounds
    // correctly for any number of digits and needs no locale.
    std::string normal;
    normal.reserve(d.intDigits.size() + d.fracDigits.size() + 3);
    if (d.negative) normal += '-';
    normal += d.intDigits.empty() ? std::string_view("0") : std::string_view(d.intDigits);
    const std::size_t lastDigit = d.fracDigits.find_last_not_of('0');
    if (lastDigit != std::string::npos) {
        normal += '.';
        normal.append(d.fracDigits, 0, lastDigit + 1);
    }
    double value = 0;
    const auto result =
        std::from_chars(normal.data(), normal.data() + normal.size(), value, std::chars_format::fixed);
    if (result.ec == std::errc::result_out_of_range) {
        // Out of range one way or the other: below one it can only be too small, and
        // the nearest double is then zero.
        if (!d.intDigits.empty()) throw OverflowError("number out of range");
        return d.negative ? -0.0 : 0.0;
    }
    if (result.ec != std::errc() || result.ptr != normal.data() + normal.size())
        throw ConversionError("number cannot be converted");
    return value;
}

// The value of a text, with the same accepted forms and failures as ParseNumber.
text::Decimal readDecimal(std::string_view input, const RegionalSettings& s) {
    std::optional<text::Decimal> d = text::read(input, s);
    if (!d) notANumber(input);
    return *d;
}

// The exact value of a text, read in the forms ParseNumber reads and failing as it
// fails: a magnitude beyond the largest double is out of range.
text::Decimal readNumber(std::string_view input, const RegionalSettings& s) {
    text::Decimal d = readDecimal(input, s);
    (void)toDouble(d);
    return d;
}

// A product beyond the largest double is out of range, as a number text of that size
// is. Where a value stops converting to a double is a whole number (halfway between the
// largest double and the next power of two), so the whole part alone decides.
void checkNumberRange(const text::Decimal& d) {
    text::Decimal whole;
    whole.negative = d.negative;
    whole.intDigits = d.intDigits;
    (void)toDouble(whole);
}

// A text for FormatMoney or FormatWholeNumber is converted as ParseNumber converts it,
// and the exact value of that double is what gets rounded: "1.005" shows as $1.00,
// like the double 1.005. A text that does not convert, including one beyond the
// largest double, fails with ConversionError.
text::Decimal readForFormat(std::string_view input, const RegionalSettings& s) {
    double value = 0;
    try {
        value = toDouble(readDecimal(input, s));
    } catch (const OverflowError&) {
        throw ConversionError("number out of range: \"" + shortened(input) + "\"");
    }
    return decimalOf(value);
}

std::string formatAmount(text::Decimal d, const RegionalSettings& s) {
    const int places = currencyPlaces(s);
    text::roundHalfAwayFromZero(d, static_cast<std::size_t>(places));
    return text::composeAmount(d, s);
}

std::string formatWhole(text::Decimal d, const RegionalSettings& s) {
    text::roundHalfAwayFromZero(d, 0);
    return text::composeWholeNumber(d, s);
}

Money checkedAdd(Money a, Money b) {
    std::int64_t sum = 0;
    if (__builtin_add_overflow(a.units(), b.units(), &sum)) throw OverflowError("sum out of range");
    return Money::fromUnits(sum);
}

}  // namespace

RegionalSettings RegionalSettings::costTableSettings() { return RegionalSettings{}; }

Money ParseMoney(std::string_view text, const RegionalSettings& settings) {
    return toMoney(readDecimal(text, settings));
}

double ParseNumber(std::string_view text, const RegionalSettings& settings) {
    return toDouble(readDecimal(text, settings));
}

Money SumOf2(Money a, Money b) { return checkedAdd(a, b); }
Money SumOf3(Money a, Money b, Money c) { return checkedAdd(checkedAdd(a, b), c); }
Money SumOf4(Money a, Money b, Money c, Money d) { return checkedAdd(SumOf3(a, b, c), d); }
Money SumOf5(Money a, Money b, Money c, Money d, Money e) {
    return checkedAdd(SumOf4(a, b, c, d), e);
}

std::string FormatMoney(Money value, const RegionalSettings& settings) {
    return formatAmount(decimalOf(value), settings);
}

std::string FormatMoney(double value, const RegionalSettings& settings) {
    return formatAmount(decimalOf(value), settings);
}

std::string FormatMoney(std::string_view text, const RegionalSettings& settings) {
    return formatAmount(readForFormat(text, settings), settings);
}

std::string FormatProductRoundedHalfAwayFromZero(std::string_view amount, std::string_view factor,
                                                 const RegionalSettings& settings) {
    const text::Decimal a = readNumber(amount, settings);
    const text::Decimal b = readNumber(factor, settings);
    text::Decimal product = text::multiply(a, b);
    checkNumberRange(product);
    return formatAmount(std::move(product), settings);
}

std::string FormatWholeNumber(Money value, const RegionalSettings& settings) {
    return formatWhole(decimalOf(value), settings);
}

std::string FormatWholeNumber(std::string_view text, const RegionalSettings& settings) {
    return formatWhole(readForFormat(text, settings), settings);
}

}  // namespace tf
