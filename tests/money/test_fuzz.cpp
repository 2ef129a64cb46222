// libFuzzer target for ParseMoney and ParseNumber. The first byte picks the regional
// settings, the rest is the text. Besides running clean under the address and
// undefined behaviour sanitizers, every accepted text must hold these:
//  - ParseMoney(FormatMoney(v)) is v rounded to the currency's decimals, and
//    ParseMoney(FormatWholeNumber(v)) is v rounded to a whole (or OverflowError where
//    that rounding leaves the range of Money);
//  - ParseMoney and ParseNumber refuse the same texts as no number;
//  - a double ParseNumber gives is shown by FormatMoney as a text that reads back;
//  - the product of one currency unit and the text fails exactly where ParseNumber
//    fails, and is the same with the text as the amount and "1" as the factor.
#include "money/money.h"
#include "money_settings.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

using namespace tf;

namespace {

const std::vector<tf::testing::NamedSettings>& settingsList() {
    static const std::vector<tf::testing::NamedSettings> all = tf::testing::allSettings();
    return all;
}

[[noreturn]] void fail(const char* what, const char* settings, const std::string& text) {
    std::fprintf(stderr, "money fuzz: %s under %s for \"%s\"\n", what, settings, text.c_str());
    std::abort();
}

enum class Result { Value, Conversion, Overflow };

template <typename F>
Result attempt(F&& f) {
    try {
        f();
        return Result::Value;
    } catch (const ConversionError&) {
        return Result::Conversion;
    } catch (const OverflowError&) {
        return Result::Overflow;
    }
}

void readsBack(const std::string& shown, std::optional<Money> expected, const char* name,
               const RegionalSettings& s, const std::string& input) {
    Money back;
    const Result r = attempt([&] { back = ParseMoney(shown, s); });
    if (!expected) {
        if (r != Result::Overflow) fail("rounded value out of range but read back", name, shown);
        return;
    }
    if (r != Result::Value) fail("formatted text does not read back", name, shown + "\" from \"" + input);
    if (back != *expected) fail("formatted text reads back as another value", name, shown + "\" from \"" + input);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const auto& list = settingsList();
    const auto& named = list[data[0] % list.size()];
    const RegionalSettings& s = named.settings;
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);

    Money money;
    const Result asMoney = attempt([&] { money = ParseMoney(text, s); });
    double number = 0;
    const Result asNumber = attempt([&] { number = ParseNumber(text, s); });
    if ((asMoney == Result::Conversion) != (asNumber == Result::Conversion))
        fail("ParseMoney and ParseNumber disagree on whether this is a number", named.name, text);

    if (asMoney == Result::Value) {
        const int decimals = s.currencyDigits < 4 ? s.currencyDigits : 4;
        readsBack(FormatMoney(money, s), tf::testing::roundedTo(money, decimals), named.name, s, text);
        readsBack(FormatWholeNumber(money, s), tf::testing::roundedTo(money, 0), named.name, s, text);
    }
    if (asNumber == Result::Value) {
        if (!std::isfinite(number)) fail("ParseNumber gave a value that is not finite", named.name, text);
        const std::string shown = FormatMoney(number, s);
        if (attempt([&] { (void)ParseMoney(shown, s); }) == Result::Conversion)
            fail("FormatMoney of a double does not read back", named.name, shown);
        if (attempt([&] { (void)FormatMoney(std::string_view(text), s); }) != Result::Value)
            fail("FormatMoney refuses a text that ParseNumber reads", named.name, text);
    }

    const std::string one = FormatMoney(Money::fromUnits(Money::kUnitsPerWhole), s);
    std::string product;
    const Result asProduct =
        attempt([&] { product = FormatProductRoundedHalfAwayFromZero(one, text, s); });
    if (asProduct != asNumber) fail("the product fails where ParseNumber does not", named.name, text);
    if (asProduct == Result::Value) {
        std::string swapped;
        if (attempt([&] { swapped = FormatProductRoundedHalfAwayFromZero(text, "1", s); }) !=
                Result::Value ||
            swapped != product)
            fail("the product depends on the order of its factors", named.name, text);
        if (attempt([&] { (void)ParseMoney(product, s); }) == Result::Conversion)
            fail("a product does not read back", named.name, product);
    }
    return 0;
}
