#pragma once
// Regional settings the money tests and the fuzzer run under, and an independent
// integer rounding of Money values to compare results with.
#include "money/money.h"

#include <climits>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tf::testing {

#define TF_NNBSP "\xE2\x80\xAF"  // U+202F narrow no-break space
#define TF_NBSP "\xC2\xA0"       // U+00A0 no-break space

struct NamedSettings {
    const char* name;
    RegionalSettings settings;
};

inline RegionalSettings withNumbersAsAmounts(RegionalSettings s) {
    s.decimalPoint = s.monDecimalPoint;
    s.thousandsSep = s.monThousandsSep;
    s.grouping = s.monGrouping;
    return s;
}

// "-$5.00", "$1,234.50": the settings the cost table is written for.
inline RegionalSettings usSettings() { return RegionalSettings::costTableSettings(); }

// "($5.00)" and "(5)" for negatives.
inline RegionalSettings usParenthesesSettings() {
    RegionalSettings s;
    s.negativeForm.signPosition = SignPosition::Parentheses;
    s.negativeNumberForm = NegativeNumberForm::Parentheses;
    return s;
}

// "1.234,50 €", "-5,00 €".
inline RegionalSettings euroCommaSettings() {
    RegionalSettings s;
    s.currencySymbol = "€";
    s.monDecimalPoint = ",";
    s.monThousandsSep = ".";
    s.positiveForm = {false, 1, SignPosition::BeforeAll};
    s.negativeForm = {false, 1, SignPosition::BeforeAll};
    return withNumbersAsAmounts(s);
}

// "1 234,50 €" with a narrow no-break space between the groups.
inline RegionalSettings euroNarrowSpaceSettings() {
    RegionalSettings s = euroCommaSettings();
    s.monThousandsSep = TF_NNBSP;
    return withNumbersAsAmounts(s);
}

// "₹1,23,456.00": groups of three, then of two.
inline RegionalSettings rupeeSettings() {
    RegionalSettings s;
    s.currencySymbol = "₹";
    s.monGrouping = {3, 2};
    return withNumbersAsAmounts(s);
}

// "¥1,235": a currency without decimals.
inline RegionalSettings yenSettings() {
    RegionalSettings s;
    s.currencySymbol = "¥";
    s.currencyDigits = 0;
    return s;
}

// "CHF 1’234.50", "CHF- 5.00": a multibyte separator, the sign right after the symbol.
inline RegionalSettings francSettings() {
    RegionalSettings s;
    s.currencySymbol = "CHF";
    s.monThousandsSep = "’";
    s.positiveForm = {true, 1, SignPosition::AfterSymbol};
    s.negativeForm = {true, 1, SignPosition::AfterSymbol};
    return withNumbersAsAmounts(s);
}

// ",500 kr-": trailing sign, no leading zero, three decimals, one group and no more.
inline RegionalSettings kronaSettings() {
    RegionalSettings s;
    s.currencySymbol = "kr";
    s.monDecimalPoint = ",";
    s.monThousandsSep = ".";
    s.monGrouping = {3, CHAR_MAX};
    s.currencyDigits = 3;
    s.leadingZero = false;
    s.positiveForm = {false, 1, SignPosition::AfterAll};
    s.negativeForm = {false, 1, SignPosition::AfterAll};
    return withNumbersAsAmounts(s);
}

// Numbers as in the C locale, amounts as "1.234,50 €": LC_MONETARY set on its own.
inline RegionalSettings mixedSettings() {
    RegionalSettings s = euroCommaSettings();
    s.decimalPoint = ".";
    s.thousandsSep = "";
    s.grouping = {};
    return s;
}

// "$ 4'383.60", "$ .50-", "1'234'567 -": Windows' Region settings changed to "'" groups,
// a space after "$", minus signs after the amount and no leading zero.
inline RegionalSettings regionSettings() {
    RegionalSettings s;
    s.monThousandsSep = s.thousandsSep = "'";
    s.leadingZero = false;
    s.positiveForm = {true, 1, SignPosition::BeforeAll};
    s.negativeForm = {true, 1, SignPosition::AfterAll};
    s.negativeNumberForm = NegativeNumberForm::SignSpaceAfter;
    return s;
}

inline std::vector<NamedSettings> allSettings() {
    return {{"us", usSettings()},         {"us-parens", usParenthesesSettings()},
            {"euro-comma", euroCommaSettings()}, {"euro-nnbsp", euroNarrowSpaceSettings()},
            {"rupee", rupeeSettings()},   {"yen", yenSettings()},
            {"franc", francSettings()},   {"krona", kronaSettings()},
            {"mixed", mixedSettings()},   {"region", regionSettings()}};
}

// A Money rounded half away from zero to `decimals` (0..4) in plain integer
// arithmetic; nothing when the result is outside the range of Money.
inline std::optional<Money> roundedTo(Money m, int decimals) {
    std::int64_t step = 1;
    for (int i = decimals; i < 4; ++i) step *= 10;
    const std::int64_t units = m.units();
    const std::int64_t rest = units % step;  // same sign as units
    std::int64_t base = units - rest;
    const std::int64_t half = step / 2;
    if (step > 1 && (rest >= half || rest <= -half)) {
        std::int64_t away = 0;
        if (__builtin_add_overflow(base, rest > 0 ? step : -step, &away)) return std::nullopt;
        base = away;
    }
    return Money::fromUnits(base);
}

}  // namespace tf::testing
