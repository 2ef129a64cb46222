// readUserSettings() under real locales. CTest runs this once per
// environment (LANG, LC_ALL, LC_MONETARY) and names the case in TF_LOCALE_CASE.
#include "money/money.h"
#include "money/settings_reader.h"

#include <QtTest>

#include <clocale>
#include <cstdlib>
#include <random>
#include <string>

using namespace tf;

namespace {

std::string caseName() {
    const char* name = std::getenv("TF_LOCALE_CASE");
    return name == nullptr ? std::string() : std::string(name);
}

struct Expected {
    std::string currencySymbol;
    std::string monDecimalPoint;
    std::string monThousandsSep;
    CurrencyForm form;
    std::string decimalPoint;
    std::string thousandsSep;
    // The groups of digits, as they format: glibc spells "groups of three, repeated" as
    // {3} or {3, 3} depending on its version.
    std::string negativeAmount;  // FormatMoney of -1234567.5
    std::string wholeNumber;     // FormatWholeNumber of 1234567
};

const CurrencyForm kSymbolFirst{true, 0, SignPosition::BeforeAll};
const CurrencyForm kSymbolAfterSpaced{false, 1, SignPosition::BeforeAll};

Expected expectedFor(const std::string& name) {
    const Expected c{"", ".", "", kSymbolFirst, ".", "", "-1234567.50", "1234567"};
    const Expected us{"$", ".", ",", kSymbolFirst, ".", ",", "-$1,234,567.50", "1,234,567"};
    const Expected de{"€", ",", ".", kSymbolAfterSpaced, ",", ".", "-1.234.567,50 €", "1.234.567"};
    if (name == "c" || name == "posix") return c;
    // missing_ctype: LC_CTYPE names a locale that is not installed; the amounts and
    // numbers still come from LANG.
    if (name == "en_US" || name == "lc_all_wins" || name == "missing_ctype") return us;
    if (name == "de_DE") return de;
    // The table's "$" and ".", but a space between the symbol and the amount.
    if (name == "es_PR")
        return {"$", ".", ",", {true, 1, SignPosition::BeforeAll}, ".", ",", "-$ 1,234,567.50", "1,234,567"};
    if (name == "fr_FR")
        return {"€", ",", "\xE2\x80\xAF", kSymbolAfterSpaced, ",", "\xE2\x80\xAF",
                "-1\xE2\x80\xAF" "234\xE2\x80\xAF" "567,50 €", "1\xE2\x80\xAF" "234\xE2\x80\xAF" "567"};
    if (name == "en_IN")
        return {"₹", ".", ",", kSymbolFirst, ".", ",", "-₹12,34,567.50", "12,34,567"};
    if (name == "de_CH")
        return {"CHF", ".", "’", {true, 1, SignPosition::AfterSymbol}, ".", "’", "CHF- 1’234’567.50", "1’234’567"};
    if (name == "monetary_only") {
        Expected e = de;
        e.decimalPoint = ".";
        e.thousandsSep = "";
        e.wholeNumber = "1234567";
        return e;
    }
    if (name == "us_numbers_euro_amounts") {
        Expected e = de;
        e.decimalPoint = ".";
        e.thousandsSep = ",";
        e.wholeNumber = "1,234,567";
        return e;
    }
    qFatal("unknown TF_LOCALE_CASE \"%s\"", name.c_str());
}

}  // namespace

class MoneyLocaleTest : public QObject {
    Q_OBJECT

private slots:
    void readsTheEnvironment();
    void textsReadBack();
    void separatorsOfNumbersAndAmounts();
};

void MoneyLocaleTest::readsTheEnvironment() {
    const Expected e = expectedFor(caseName());
    const std::string before = std::setlocale(LC_ALL, nullptr);
    const RegionalSettings s = readUserSettings();
    QCOMPARE(std::string(std::setlocale(LC_ALL, nullptr)), before);

    QCOMPARE(s.currencySymbol, e.currencySymbol);
    QCOMPARE(s.monDecimalPoint, e.monDecimalPoint);
    QCOMPARE(s.monThousandsSep, e.monThousandsSep);
    QCOMPARE(s.currencyDigits, 2);
    QCOMPARE(s.negativeSign, std::string("-"));
    QCOMPARE(s.positiveSign, std::string());
    QCOMPARE(s.positiveForm, e.form);
    QCOMPARE(s.negativeForm, e.form);
    QCOMPARE(s.decimalPoint, e.decimalPoint);
    QCOMPARE(s.thousandsSep, e.thousandsSep);

    QCOMPARE(FormatMoney(Money::fromUnits(-12345675000), s), e.negativeAmount);
    QCOMPARE(FormatWholeNumber(Money::fromUnits(12345670000), s), e.wholeNumber);
}

void MoneyLocaleTest::textsReadBack() {
    const RegionalSettings s = readUserSettings();
    std::mt19937_64 random(7);
    std::uniform_int_distribution<std::int64_t> amount(-10'000'000'000'000, 10'000'000'000'000);
    for (int i = 0; i < 2000; ++i) {
        const std::int64_t u = amount(random);
        const std::string money = FormatMoney(Money::fromUnits(u), s);
        const std::int64_t cents = (u >= 0 ? u + 50 : u - 50) / 100 * 100;
        QCOMPARE(ParseMoney(money, s).units(), cents);
        const std::string whole = FormatWholeNumber(Money::fromUnits(u), s);
        const std::int64_t wholes = (u >= 0 ? u + 5000 : u - 5000) / 10000 * 10000;
        QCOMPARE(ParseMoney(whole, s).units(), wholes);
    }
}

void MoneyLocaleTest::separatorsOfNumbersAndAmounts() {
    const RegionalSettings s = readUserSettings();
    const std::string name = caseName();
    if (name == "monetary_only") {
        // Plain numbers use the C locale's point; amounts their comma.
        QCOMPARE(ParseMoney("1.5", s), Money::fromUnits(15000));
        QCOMPARE(ParseMoney("1,5 €", s), Money::fromUnits(15000));
        QCOMPARE(ParseMoney("1,5", s), Money::fromUnits(15000));
        QVERIFY_THROWS_EXCEPTION(ConversionError, ParseMoney("1.5 €", s));
    } else if (name == "us_numbers_euro_amounts") {
        // A plain number reads as one; with the symbol, as an amount.
        QCOMPARE(ParseMoney("1,500", s), Money::fromUnits(15000000));
        QCOMPARE(ParseMoney("1,500 €", s), Money::fromUnits(15000));
        QCOMPARE(ParseNumber("1,234.5", s), 1234.5);
    } else if (name == "de_DE") {
        QCOMPARE(ParseMoney("1.234,5", s), Money::fromUnits(12345000));
        QCOMPARE(ParseNumber("0,1", s), 0.1);
        QVERIFY_THROWS_EXCEPTION(ConversionError, ParseMoney("$28.91", s));
    } else if (name == "fr_FR") {
        QCOMPARE(ParseMoney("1 234,5 €", s), Money::fromUnits(12345000));
    } else if (name == "c" || name == "posix") {
        QCOMPARE(ParseMoney("1234.5", s), Money::fromUnits(12345000));
        QVERIFY_THROWS_EXCEPTION(ConversionError, ParseMoney("1,234.5", s));
        QVERIFY_THROWS_EXCEPTION(ConversionError, ParseMoney("$28.91", s));
    } else if (name == "en_IN") {
        QCOMPARE(ParseMoney("₹1,23,456.00", s), Money::fromUnits(1234560000));
        QVERIFY_THROWS_EXCEPTION(ConversionError, ParseMoney("123,456", s));
    } else if (name == "es_PR") {
        // The worksheet keeps these settings; a category cost is the exact product in
        // their form, whichever form the hourly cost is written in.
        QCOMPARE(ParseMoney("$ 1,234.50", s), Money::fromUnits(12345000));
        QCOMPARE(FormatProductRoundedHalfAwayFromZero("$ 36.53", "4.5", s), std::string("$ 164.39"));
        QCOMPARE(FormatProductRoundedHalfAwayFromZero("$36.53", "-0.5", s), std::string("-$ 18.27"));
        QCOMPARE(FormatProductRoundedHalfAwayFromZero("$ 41.99", "1,000.25", s),
                 std::string("$ 42,000.50"));
    } else if (name == "de_CH") {
        QCOMPARE(ParseMoney("CHF 1’234.50", s), Money::fromUnits(12345000));
        QCOMPARE(ParseMoney("CHF-5", s), Money::fromUnits(-50000));
    } else {  // en_US
        QCOMPARE(ParseMoney("$1,234.50", s), Money::fromUnits(12345000));
        QCOMPARE(ParseMoney("$19.9", s), Money::fromUnits(199000));
        QVERIFY_THROWS_EXCEPTION(ConversionError, ParseMoney("1.234,50", s));
    }
}

QTEST_APPLESS_MAIN(MoneyLocaleTest)
#include "test_locale.moc"
