#pragma once
// Money and the conversions between texts and numbers under the user's regional
// settings. Plain C++, no Qt: every function is a pure function of its arguments.
#ifndef Q_MOC_RUN  // Qt 6.4's moc cannot parse <compare>/<concepts>; it needs nothing from it
#include <compare>
#endif
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tf {

// A conversion or sum that has no result. Callers that recover from any of them catch
// this one type.
class MoneyError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A text that is not a number under the regional settings.
class ConversionError : public MoneyError {
public:
    using MoneyError::MoneyError;
};

// A value outside the range of its type (Money, or double).
class OverflowError : public MoneyError {
public:
    using MoneyError::MoneyError;
};

// A signed count of ten-thousandths of the currency unit.
class Money {
public:
    static constexpr std::int64_t kUnitsPerWhole = 10000;
    constexpr Money() = default;
    static constexpr Money fromUnits(std::int64_t units) {
        Money m;
        m.units_ = units;
        return m;
    }
    constexpr std::int64_t units() const { return units_; }
    friend constexpr bool operator==(Money, Money) = default;
    friend constexpr auto operator<=>(Money, Money) = default;

private:
    std::int64_t units_ = 0;
};

// Where the sign of a currency amount goes, as localeconv() numbers it.
enum class SignPosition : int {
    Parentheses = 0,   // (symbol amount)
    BeforeAll = 1,     // sign before amount and symbol
    AfterAll = 2,      // sign after amount and symbol
    BeforeSymbol = 3,  // sign right before the symbol
    AfterSymbol = 4,   // sign right after the symbol
};

// How an amount of one sign is written.
struct CurrencyForm {
    bool symbolPrecedes = true;
    int separatedBySpace = 0;  // 0, 1 or 2, as localeconv()'s p_sep_by_space
    SignPosition signPosition = SignPosition::BeforeAll;

    friend bool operator==(const CurrencyForm&, const CurrencyForm&) = default;
};

// How a negative plain number is written; the numbers are those of Windows' negative
// number format.
enum class NegativeNumberForm : int {
    Parentheses = 0,      // (1.1)
    SignBefore = 1,       // -1.1
    SignSpaceBefore = 2,  // - 1.1
    SignAfter = 3,        // 1.1-
    SignSpaceAfter = 4,   // 1.1 -
};

// The user's settings for currency amounts and plain numbers. All strings are UTF-8
// of any length. A default-constructed value is the settings the cost table is written
// for: "$" before the amount, ".", "," in groups of three, two decimals, "-$5.00".
struct RegionalSettings {
    // Currency amounts (LC_MONETARY).
    std::string currencySymbol = "$";
    std::string monDecimalPoint = ".";
    std::string monThousandsSep = ",";
    // Group sizes from the right, as localeconv() gives them: the last one repeats, and
    // CHAR_MAX after a size means no more groups ({3, CHAR_MAX}: "1234567,890").
    std::vector<int> monGrouping = {3};
    int currencyDigits = 2;
    bool leadingZero = true;  // "0.50" rather than ".50"
    std::string positiveSign;
    std::string negativeSign = "-";
    CurrencyForm positiveForm{true, 0, SignPosition::BeforeAll};
    CurrencyForm negativeForm{true, 0, SignPosition::BeforeAll};

    // Plain numbers (LC_NUMERIC).
    std::string decimalPoint = ".";
    std::string thousandsSep = ",";
    std::vector<int> grouping = {3};
    std::string numberNegativeSign = "-";  // the C library's locales have no other
    NegativeNumberForm negativeNumberForm = NegativeNumberForm::SignBefore;

    // The settings the cost table is written for (the same as a default-constructed value).
    static RegionalSettings costTableSettings();

    friend bool operator==(const RegionalSettings&, const RegionalSettings&) = default;
};

Money ParseMoney(std::string_view text, const RegionalSettings& settings);
double ParseNumber(std::string_view text, const RegionalSettings& settings);

Money SumOf2(Money a, Money b);
Money SumOf3(Money a, Money b, Money c);
Money SumOf4(Money a, Money b, Money c, Money d);
Money SumOf5(Money a, Money b, Money c, Money d, Money e);

std::string FormatMoney(Money value, const RegionalSettings& settings);
std::string FormatMoney(double value, const RegionalSettings& settings);
std::string FormatMoney(std::string_view text, const RegionalSettings& settings);

// The amount the money text `amount` shows times the number the text `factor` holds,
// multiplied exactly as the two texts are written and rounded once to the currency's
// decimals, half away from zero, as a money text: "$36.53" times "4.5" is "$164.39",
// times "-0.5" is "-$18.27". Both texts are read in the forms ParseNumber reads and fail
// as it fails; a product beyond the largest double fails with OverflowError. A product
// beyond the range of Money is still written out in full.
std::string FormatProductRoundedHalfAwayFromZero(std::string_view amount, std::string_view factor,
                                                 const RegionalSettings& settings);

std::string FormatWholeNumber(Money value, const RegionalSettings& settings);
std::string FormatWholeNumber(std::string_view text, const RegionalSettings& settings);

}  // namespace tf
