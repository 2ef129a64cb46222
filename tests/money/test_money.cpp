// Money sums and the text conversions, under several regional settings.
#include "money/money.h"
#include "refdata/cost_table.h"
#include "money_settings.h"

#include <QtTest>

#include <cfloat>
#include <cmath>
#include <limits>
#include <random>
#include <string>

using namespace tf;
using tf::testing::allSettings;
using tf::testing::roundedTo;

namespace {

enum Outcome { Value = 0, Conversion = 1, Overflow = 2 };

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();

Money units(std::int64_t u) { return Money::fromUnits(u); }

RegionalSettings settingsNamed(const QByteArray& name) {
    for (const auto& named : allSettings())
        if (name == named.name) return named.settings;
    qFatal("no settings named %s", name.constData());
}

std::string text(const QByteArray& bytes) { return std::string(bytes.constData(), bytes.size()); }

// A row name with control characters spelled out.
QByteArray shown(const char* text) {
    QByteArray out;
    for (const char* p = text; *p != '\0'; ++p) {
        if (*p == '\t') out += "\\t";
        else if (*p == '\n') out += "\\n";
        else out += *p;
    }
    return out;
}

// What ParseMoney gives for a text: a value or the kind of failure.
Outcome parseOutcome(const std::string& t, const RegionalSettings& s, std::int64_t& value) {
    try {
        value = ParseMoney(t, s).units();
        return Value;
    } catch (const ConversionError&) {
        return Conversion;
    } catch (const OverflowError&) {
        return Overflow;
    }
}

struct ParseCase {
    const char* text;
    Outcome outcome;
    std::int64_t units;
};

// Texts every one of the settings reads the same way.
const ParseCase kCommonCases[] = {
    {"0", Value, 0},
    {"12", Value, 120000},
    {" 12 ", Value, 120000},
    {"\t12\n", Value, 120000},
    {"-3", Value, -30000},
    {"+3", Value, 30000},
    {"007", Value, 70000},
    {"(3)", Value, -30000},
    {"922337203685477", Value, 9223372036854770000},
    {"922337203685478", Overflow, 0},
    {"-922337203685478", Overflow, 0},
    {"99999999999999999999999", Overflow, 0},
    {"", Conversion, 0},
    {"   ", Conversion, 0},
    {"abc", Conversion, 0},
    {"12abc", Conversion, 0},
    {"nan", Conversion, 0},
    {"NaN", Conversion, 0},
    {"inf", Conversion, 0},
    {"-inf", Conversion, 0},
    {"infinity", Conversion, 0},
    {"0x1A", Conversion, 0},
    {"1e5", Conversion, 0},
    {"1E5", Conversion, 0},
    {"--3", Conversion, 0},
    {"+-3", Conversion, 0},
    {"-3-", Conversion, 0},
    {"-(3)", Conversion, 0},
    {"(-3)", Conversion, 0},
    {"(3", Conversion, 0},
    {"3)", Conversion, 0},
    {"((3))", Conversion, 0},
    {"1 2", Conversion, 0},
    {"-", Conversion, 0},
    {"()", Conversion, 0},
    {"\xC2\xA3" "5", Conversion, 0},  // a currency symbol of other settings
    {"US$5", Conversion, 0},
};

struct SettingsCase {
    const char* settings;
    const char* text;
    Outcome outcome;
    std::int64_t units;
};

const SettingsCase kSettingsCases[] = {
    // The cost table's settings.
    {"us", "$28.91", Value, 289100},
    {"us", "$19.9", Value, 199000},
    {"us", "$1,234.50", Value, 12345000},
    {"us", "1,234", Value, 12340000},
    {"us", "1,234,567", Value, 12345670000},
    {"us", "1234567", Value, 12345670000},
    {"us", "1.5", Value, 15000},
    {"us", "0.1", Value, 1000},
    {"us", ".5", Value, 5000},
    {"us", "-$5.00", Value, -50000},
    {"us", "- $ 5", Value, -50000},
    {"us", "($5.00)", Value, -50000},
    {"us", "1.00005", Value, 10001},     // tie: away from zero
    {"us", "-1.00005", Value, -10001},
    {"us", "1.000049999", Value, 10000},
    {"us", "922337203685477.5807", Value, kMax},
    {"us", "$922,337,203,685,477.5807", Value, kMax},
    {"us", "922337203685477.58074", Value, kMax},
    {"us", "922337203685477.58075", Overflow, 0},
    {"us", "922337203685477.5808", Overflow, 0},
    {"us", "-922337203685477.5808", Value, kMin},
    {"us", "-922337203685477.5809", Overflow, 0},
    {"us", "2,4", Conversion, 0},
    {"us", "1,23", Conversion, 0},
    {"us", "1,2345", Conversion, 0},
    {"us", "12,34,567", Conversion, 0},
    {"us", "1,,234", Conversion, 0},
    {"us", ",234", Conversion, 0},
    {"us", "1234,", Conversion, 0},
    {"us", "1,234.5,6", Conversion, 0},
    {"us", "1.2.3", Conversion, 0},
    {"us", "1..2", Conversion, 0},
    {"us", "1.234,50", Conversion, 0},
    {"us", "$$5", Conversion, 0},
    {"us", "5$", Conversion, 0},
    {"us", "$-5", Conversion, 0},  // the sign beside the symbol is not these settings' form
    {"us", "5-", Conversion, 0},
    {"us", "$5 5", Conversion, 0},
    {"us", "\xE2\x82\xAC" "5", Conversion, 0},  // "€5"
    {"us", "5 \xE2\x82\xAC", Conversion, 0},
    {"us", "$", Conversion, 0},
    {"us", "$28.91 and more", Conversion, 0},
    // Parentheses for negatives.
    {"us-parens", "($5.00)", Value, -50000},
    {"us-parens", "( $1,234.50 )", Value, -12345000},
    {"us-parens", "-$5.00", Value, -50000},
    {"us-parens", "($5.00", Conversion, 0},
    {"us-parens", "-($5.00)", Conversion, 0},
    {"us-parens", "$(5.00)", Conversion, 0},
    // A decimal comma, the symbol after the amount.
    {"euro-comma", "1.234,50 €", Value, 12345000},
    {"euro-comma", "1.234,50€", Value, 12345000},
    {"euro-comma", "-5,00 €", Value, -50000},
    {"euro-comma", "1,5", Value, 15000},
    {"euro-comma", "0,1", Value, 1000},
    {"euro-comma", "1.234", Value, 12340000},
    {"euro-comma", "1.234.567,891", Value, 12345678910},
    {"euro-comma", "2.4", Conversion, 0},
    {"euro-comma", "28.91", Conversion, 0},
    {"euro-comma", "$28.91", Conversion, 0},
    {"euro-comma", "€5", Conversion, 0},
    {"euro-comma", "1,234,5", Conversion, 0},
    {"euro-comma", "1,5.000", Conversion, 0},
    // A narrow no-break space between the groups; other spaces stand for it.
    {"euro-nnbsp", "1" TF_NNBSP "234,50 €", Value, 12345000},
    {"euro-nnbsp", "1 234,50 €", Value, 12345000},
    {"euro-nnbsp", "1" TF_NBSP "234" TF_NBSP "567,5" TF_NBSP "€", Value, 12345675000},
    {"euro-nnbsp", "-1" TF_NNBSP "234,5", Value, -12345000},
    {"euro-nnbsp", "1" TF_NNBSP "23,5", Conversion, 0},
    {"euro-nnbsp", "1.234,50 €", Conversion, 0},
    {"euro-nnbsp", "1,5" TF_NNBSP "000", Conversion, 0},
    // Groups of three, then two.
    {"rupee", "₹1,23,456.00", Value, 1234560000},
    {"rupee", "12,34,567", Value, 12345670000},
    {"rupee", "1,234", Value, 12340000},
    {"rupee", "-₹1,000.50", Value, -10005000},
    {"rupee", "123,456", Conversion, 0},
    {"rupee", "1,234,567", Conversion, 0},
    {"rupee", "$5", Conversion, 0},
    // No decimals in the currency: texts with decimals still read exactly.
    {"yen", "¥1,235", Value, 12350000},
    {"yen", "¥1,234.5", Value, 12345000},
    {"yen", "-¥7", Value, -70000},
    {"yen", "$7", Conversion, 0},
    // A multibyte separator and the sign right after the symbol.
    {"franc", "CHF 1’234.50", Value, 12345000},
    {"franc", "CHF- 5.00", Value, -50000},
    {"franc", "-CHF 5.00", Value, -50000},
    {"franc", "CHF 5.00-", Conversion, 0},
    {"franc", "1'234", Conversion, 0},
    {"franc", "CH 5", Conversion, 0},
    // Trailing sign, no leading zero, grouping that stops after one group.
    {"krona", ",500 kr", Value, 5000},
    {"krona", ",500 kr-", Value, -5000},
    {"krona", "0,5 kr -", Value, -5000},
    {"krona", "-,5 kr", Value, -5000},
    {"krona", "5-", Value, -50000},
    {"krona", "1234.567,5 kr", Value, 12345675000},
    {"krona", "1.234.567,5 kr", Conversion, 0},
    {"krona", "kr 5", Conversion, 0},
    // Numbers as in the C locale, amounts with a decimal comma.
    {"mixed", "1.5", Value, 15000},
    {"mixed", "1,5", Value, 15000},
    {"mixed", "1.234", Value, 12340},  // a plain number: "." is its decimal separator
    {"mixed", "1.234,50 €", Value, 12345000},
    {"mixed", "1,5 €", Value, 15000},
    {"mixed", "1.5 €", Conversion, 0},
    // Minus signs after amounts and numbers, no leading zero.
    {"region", "$ 4'383.60-", Value, -43836000},
    {"region", "1'234'567 -", Value, -12345670000},
    {"region", "-5-", Conversion, 0},
};

}  // namespace

class MoneyTest : public QObject {
    Q_OBJECT

private slots:
    void parseMoney_data();
    void parseMoney();
    void parseNumber_data();
    void parseNumber();
    void parseNumberAndParseMoneyAcceptTheSameTexts();
    void sums_data();
    void sums();
    void formatMoney_data();
    void formatMoney();
    void everyCurrencyForm();
    void formatMoneyOfDouble_data();
    void formatMoneyOfDouble();
    void formatMoneyOfDoubleShowsEveryDigit();
    void formatMoneyOfText_data();
    void formatMoneyOfText();
    void formatWholeNumber_data();
    void formatWholeNumber();
    void product_data();
    void product();
    void productOfCentsAndTenThousandthsOfAnHour_data();
    void productOfCentsAndTenThousandthsOfAnHour();
    void roundTrip_data();
    void roundTrip();
    void longTexts();
    void costTableUnderItsSettings();
};

void MoneyTest::parseMoney_data() {
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<qint64>("units");
    for (const auto& named : allSettings()) {
        for (const ParseCase& c : kCommonCases) {
            QTest::addRow("%s: \"%s\"", named.name, shown(c.text).constData())
                << QByteArray(named.name) << QByteArray(c.text) << int(c.outcome) << qint64(c.units);
        }
    }
    for (const SettingsCase& c : kSettingsCases) {
        QTest::addRow("%s: \"%s\"", c.settings, c.text)
            << QByteArray(c.settings) << QByteArray(c.text) << int(c.outcome) << qint64(c.units);
    }
}

void MoneyTest::parseMoney() {
    QFETCH(QByteArray, settings);
    QFETCH(QByteArray, text);
    QFETCH(int, outcome);
    QFETCH(qint64, units);
    std::int64_t got = 0;
    QCOMPARE(int(parseOutcome(::text(text), settingsNamed(settings), got)), outcome);
    if (outcome == Value) QCOMPARE(qint64(got), units);
}

void MoneyTest::parseNumber_data() {
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<double>("value");
    const std::string maxDouble =
        "17976931348623157081452742373170435679807056752584499659891747680315726078002853876058"
        "95586327668781715404589535143824642343213268894641827684675467035375169860499105765512"
        "82076245490090389328944075868508455133942304583236903222948165808559332123348274797826"
        "204144723168738177180919299881250404026184124858368";
    auto row = [](const char* name, const char* settings, const std::string& text, Outcome o,
                  double v) {
        QTest::newRow(name) << QByteArray(settings) << QByteArray::fromStdString(text) << int(o) << v;
    };
    row("money text", "us", "$28.91", Value, 28.91);
    row("plain decimal", "us", "1.5", Value, 1.5);
    row("one tenth", "us", "0.1", Value, 0.1);
    row("negative", "us", "-3", Value, -3.0);
    row("grouped", "us", "$1,234.5", Value, 1234.5);
    row("parentheses", "us-parens", "($2.25)", Value, -2.25);
    row("decimal comma", "euro-comma", "1.234,5 €", Value, 1234.5);
    row("rupee groups", "rupee", "₹1,23,456.78", Value, 123456.78);
    row("more digits than a double holds", "us", "0.1000000000000000055511151231257827", Value, 0.1);
    // 2^53 + 1 lies halfway between two doubles: the even one is nearest.
    row("halfway rounds to even", "us", "9007199254740993", Value, 9007199254740992.0);
    row("just above halfway", "us", "9007199254740993.0000000000000000001", Value,
        9007199254740994.0);
    row("more decimals than Money", "us", "0.00001", Value, 0.00001);
    row("beyond Money", "us", "1,000,000,000,000,000,000", Value, 1e18);
    row("largest double", "us", maxDouble, Value, DBL_MAX);
    row("beyond the largest double", "us", maxDouble + "0", Overflow, 0);
    row("negative beyond the largest double", "us", "-" + maxDouble + "0", Overflow, 0);
    row("too small for a double", "us", "0." + std::string(400, '0') + "1", Value, 0.0);
    row("smallest subnormal", "us", "0." + std::string(323, '0') + "5", Value,
        std::numeric_limits<double>::denorm_min());
    row("empty", "us", "", Conversion, 0);
    row("blanks", "us", "  ", Conversion, 0);
    row("letters", "us", "twelve", Conversion, 0);
    row("nan", "us", "nan", Conversion, 0);
    row("infinity", "us", "infinity", Conversion, 0);
    row("exponent", "us", "1.5e3", Conversion, 0);
    row("hexadecimal", "us", "0x10", Conversion, 0);
    row("misplaced separator", "us", "2,4", Conversion, 0);
}

void MoneyTest::parseNumber() {
    QFETCH(QByteArray, settings);
    QFETCH(QByteArray, text);
    QFETCH(int, outcome);
    QFETCH(double, value);
    const RegionalSettings s = settingsNamed(settings);
    try {
        const double got = ParseNumber(::text(text), s);
        QCOMPARE(int(Value), outcome);
        QCOMPARE(got, value);  // exact: the nearest double
    } catch (const ConversionError&) {
        QCOMPARE(int(Conversion), outcome);
    } catch (const OverflowError&) {
        QCOMPARE(int(Overflow), outcome);
    }
}

// The two readers share their rules: a text that one refuses as no number, the other
// refuses too, under every one of the settings.
void MoneyTest::parseNumberAndParseMoneyAcceptTheSameTexts() {
    for (const auto& named : allSettings()) {
        auto check = [&](const std::string& t) {
            bool moneyRefused = false;
            bool numberRefused = false;
            try {
                (void)ParseMoney(t, named.settings);
            } catch (const ConversionError&) {
                moneyRefused = true;
            } catch (const OverflowError&) {
            }
            try {
                (void)ParseNumber(t, named.settings);
            } catch (const ConversionError&) {
                numberRefused = true;
            } catch (const OverflowError&) {
            }
            if (moneyRefused != numberRefused)
                QFAIL(qPrintable(QString("%1: \"%2\"").arg(named.name, QString::fromStdString(t))));
        };
        for (const ParseCase& c : kCommonCases) check(c.text);
        for (const SettingsCase& c : kSettingsCases) check(c.text);
    }
}

void MoneyTest::sums_data() {
    QTest::addColumn<QList<qint64>>("operands");
    QTest::addColumn<bool>("overflows");
    QTest::addColumn<qint64>("sum");
    QTest::newRow("salary + AS&T + NPS") << QList<qint64>{289100, 52200, 63100} << false
                                         << qint64(404400);
    QTest::newRow("two") << QList<qint64>{15, -20} << false << qint64(-5);
    QTest::newRow("four") << QList<qint64>{1, 2, 3, 4} << false << qint64(10);
    QTest::newRow("five") << QList<qint64>{1, 2, 3, 4, 5} << false << qint64(15);
    QTest::newRow("limits cancel") << QList<qint64>{kMin, kMax} << false << qint64(-1);
    QTest::newRow("up to the largest") << QList<qint64>{kMax - 1, 1} << false << qint64(kMax);
    QTest::newRow("down to the smallest") << QList<qint64>{kMin + 1, -1} << false << qint64(kMin);
    QTest::newRow("one unit too many") << QList<qint64>{kMax, 1} << true << qint64(0);
    QTest::newRow("one unit too few") << QList<qint64>{kMin, -1} << true << qint64(0);
    QTest::newRow("first partial sum overflows, the total would not")
        << QList<qint64>{kMax, 1, -10000} << true << qint64(0);
    QTest::newRow("in range when the large operand comes last")
        << QList<qint64>{1, -10000, kMax} << false << qint64(kMax - 9999);
    QTest::newRow("third partial sum of four overflows")
        << QList<qint64>{kMax / 2, kMax / 2, 2, -100} << true << qint64(0);
    QTest::newRow("fourth partial sum of five overflows")
        << QList<qint64>{kMin / 2, kMin / 2, -1, 5, -5} << true << qint64(0);
    QTest::newRow("five in range near the top")
        << QList<qint64>{kMax / 2, kMax / 2, -3, 2, 2} << false << qint64(kMax / 2 * 2 + 1);
}

void MoneyTest::sums() {
    QFETCH(QList<qint64>, operands);
    QFETCH(bool, overflows);
    QFETCH(qint64, sum);
    std::vector<Money> m;
    for (qint64 u : operands) m.push_back(units(u));
    auto compute = [&]() {
        switch (m.size()) {
            case 2: return SumOf2(m[0], m[1]);
            case 3: return SumOf3(m[0], m[1], m[2]);
            case 4: return SumOf4(m[0], m[1], m[2], m[3]);
            default: return SumOf5(m[0], m[1], m[2], m[3], m[4]);
        }
    };
    if (overflows) {
        QVERIFY_THROWS_EXCEPTION(OverflowError, compute());
    } else {
        QCOMPARE(qint64(compute().units()), sum);
    }
}

void MoneyTest::formatMoney_data() {
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<qint64>("units");
    QTest::addColumn<QByteArray>("expected");
    struct Row {
        const char* settings;
        std::int64_t units;
        const char* expected;
    };
    const Row rows[] = {
        {"us", 404400, "$40.44"},
        {"us", 12345000, "$1,234.50"},
        {"us", 0, "$0.00"},
        {"us", 5000, "$0.50"},
        {"us", -50000, "-$5.00"},
        {"us", 12345678910, "$1,234,567.89"},
        {"us", 50, "$0.01"},     // 0.005: a tie, away from zero
        {"us", -50, "-$0.01"},
        {"us", 49, "$0.00"},
        {"us", -49, "$0.00"},    // rounds to zero: no sign
        {"us", 9999950, "$1,000.00"},
        {"us", kMax, "$922,337,203,685,477.58"},
        {"us", kMin, "-$922,337,203,685,477.58"},
        {"us-parens", -50000, "($5.00)"},
        {"us-parens", -12345000, "($1,234.50)"},
        {"us-parens", 50000, "$5.00"},
        {"us-parens", -10, "$0.00"},
        {"euro-comma", 12345000, "1.234,50 €"},
        {"euro-comma", -50000, "-5,00 €"},
        {"euro-comma", 5000, "0,50 €"},
        {"euro-comma", 12345678910, "1.234.567,89 €"},
        {"euro-nnbsp", 12345000, "1" TF_NNBSP "234,50 €"},
        {"euro-nnbsp", -12345675000, "-1" TF_NNBSP "234" TF_NNBSP "567,50 €"},
        {"rupee", 1234560000, "₹1,23,456.00"},
        {"rupee", 123456789000, "₹1,23,45,678.90"},
        {"rupee", -10000000, "-₹1,000.00"},
        {"rupee", 9990000, "₹999.00"},
        {"yen", 12346000, "¥1,235"},
        {"yen", 12345000, "¥1,235"},
        {"yen", -12345000, "-¥1,235"},
        {"yen", 4000, "¥0"},
        {"yen", -4999, "¥0"},
        {"franc", 12345000, "CHF 1’234.50"},
        {"franc", -50000, "CHF- 5.00"},
        {"krona", 5000, ",500 kr"},
        {"krona", -5000, ",500 kr-"},
        {"krona", 0, ",000 kr"},
        {"krona", 12345675000, "1234.567,500 kr"},
        {"krona", 15, ",002 kr"},  // 0.0015 to three decimals: a tie, away from zero
        {"mixed", -12345000, "-1.234,50 €"},
    };
    for (const Row& r : rows)
        QTest::addRow("%s: %lld", r.settings, static_cast<long long>(r.units))
            << QByteArray(r.settings) << qint64(r.units) << QByteArray(r.expected);
}

void MoneyTest::formatMoney() {
    QFETCH(QByteArray, settings);
    QFETCH(qint64, units);
    QFETCH(QByteArray, expected);
    QCOMPARE(QByteArray::fromStdString(FormatMoney(Money::fromUnits(units), settingsNamed(settings))),
             expected);
}

// Each placement of symbol, sign and space that localeconv() can describe writes
// amounts that read back; the spaced forms are placed as POSIX describes them.
void MoneyTest::everyCurrencyForm() {
    for (int spacing = 0; spacing <= 2; ++spacing) {
        for (bool precedes : {false, true}) {
            for (int position = 0; position <= 4; ++position) {
                RegionalSettings s;
                s.currencySymbol = "EUR";
                s.positiveSign = "+";
                s.positiveForm = s.negativeForm = {precedes, spacing, SignPosition(position)};
                for (std::int64_t u : {-12345000LL, 12345000LL, -1LL}) {
                    const std::string shown = FormatMoney(Money::fromUnits(u), s);
                    const Money back = ParseMoney(shown, s);
                    QVERIFY2(back == roundedTo(Money::fromUnits(u), 2), shown.c_str());
                }
            }
        }
    }
    auto shown = [](bool precedes, int spacing, SignPosition position) {
        RegionalSettings s;
        s.currencySymbol = "EUR";
        s.negativeForm = {precedes, spacing, position};
        return FormatMoney(Money::fromUnits(-12345000), s);
    };
    // Sign beside the symbol: the space goes between the value and both, or between them.
    QCOMPARE(shown(true, 1, SignPosition::AfterSymbol), std::string("EUR- 1,234.50"));
    QCOMPARE(shown(true, 2, SignPosition::AfterSymbol), std::string("EUR -1,234.50"));
    QCOMPARE(shown(false, 2, SignPosition::BeforeSymbol), std::string("1,234.50- EUR"));
    // Sign away from the symbol: with spacing 2 the space goes between sign and value.
    QCOMPARE(shown(false, 2, SignPosition::BeforeAll), std::string("- 1,234.50EUR"));
    QCOMPARE(shown(true, 2, SignPosition::AfterAll), std::string("EUR1,234.50 -"));
    QCOMPARE(shown(false, 1, SignPosition::Parentheses), std::string("(1,234.50 EUR)"));
}

void MoneyTest::formatMoneyOfDouble_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("0.1 + 0.2") << (0.1 + 0.2) << QByteArray("$0.30");
    QTest::newRow("28.91") << 28.91 << QByteArray("$28.91");
    QTest::newRow("exact tie 0.125") << 0.125 << QByteArray("$0.13");
    QTest::newRow("exact tie -0.125") << -0.125 << QByteArray("-$0.13");
    QTest::newRow("1.005 is below the tie") << 1.005 << QByteArray("$1.00");
    QTest::newRow("2.675 is below the tie") << 2.675 << QByteArray("$2.67");
    QTest::newRow("2.345 is above the tie") << 2.345 << QByteArray("$2.35");
    QTest::newRow("negative zero") << -0.0 << QByteArray("$0.00");
    QTest::newRow("negative, rounds to zero") << -0.004 << QByteArray("$0.00");
    QTest::newRow("smallest subnormal") << std::numeric_limits<double>::denorm_min()
                                        << QByteArray("$0.00");
    QTest::newRow("hours times cost") << 37.5 * 28.91 << QByteArray("$1,084.13");
    QTest::newRow("beyond Money") << 1e20 << QByteArray("$100,000,000,000,000,000,000.00");
    QTest::newRow("2^53 + 2") << 9007199254740994.0 << QByteArray("$9,007,199,254,740,994.00");
}

void MoneyTest::formatMoneyOfDouble() {
    QFETCH(double, value);
    QFETCH(QByteArray, expected);
    QCOMPARE(QByteArray::fromStdString(FormatMoney(value, RegionalSettings{})), expected);
}

void MoneyTest::formatMoneyOfDoubleShowsEveryDigit() {
    // The exact value of the double nearest to 1e300.
    const std::string exact =
        "10000000000000000525047602552044202487044685811081591549158541155118024579889081957863713"
        "75080447864043704443832883878176942523235360430575644792184786706982848387200926575803737"
        "83023379478809005936895323497079994508111903896764088007465274278014249457925878882005684"
        "2838115669472196386865459400540160";
    const std::string shown = FormatMoney(1e300, RegionalSettings{});
    QVERIFY(shown.starts_with("$1,000,000,000,000,000,052,504,"));
    QVERIFY(shown.ends_with(",160.00"));
    std::string digits;
    for (char c : shown.substr(1, shown.size() - 4)) {
        if (c != ',') digits += c;
    }
    QCOMPARE(digits, exact);
    QCOMPARE(FormatMoney(-DBL_MAX, RegionalSettings{}).size(), std::size_t(1 + 1 + 309 + 102 + 3));

    for (double bad : {std::nan(""), HUGE_VAL, -HUGE_VAL}) {
        QVERIFY_THROWS_EXCEPTION(OverflowError, FormatMoney(bad, RegionalSettings{}));
    }
}

void MoneyTest::formatMoneyOfText_data() {
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("money");  // empty: ConversionError
    QTest::addColumn<QByteArray>("whole");
    auto row = [](const char* name, const char* s, const std::string& t, const char* m,
                  const char* w) {
        QTest::newRow(name) << QByteArray(s) << QByteArray::fromStdString(t) << QByteArray(m)
                            << QByteArray(w);
    };
    row("cost table text", "us", "$28.91", "$28.91", "29");
    row("zero", "us", "0", "$0.00", "0");
    row("read as the nearest double, 1.00499999...", "us", "1.005", "$1.00", "1");
    row("half", "us", "2.5", "$2.50", "3");
    row("negative half", "us", "-2.5", "-$2.50", "-3");
    row("small negative", "us", "-0.4", "-$0.40", "0");
    row("negative, rounds to zero", "us", "-0.004", "$0.00", "0");
    row("nearest double is a half", "us", "0.49999999999999999999", "$0.50", "1");
    row("beyond Money", "us", "12345678901234567890123", "$12,345,678,901,234,567,741,440.00",
        "12,345,678,901,234,567,741,440");
    row("parentheses", "us-parens", "($1,234.56)", "($1,234.56)", "(1,235)");
    row("decimal comma", "euro-comma", "1.234,5 €", "1.234,50 €", "1.235");
    row("letters", "us", "abc", "", "");
    row("empty", "us", "", "", "");
    row("other settings' symbol", "euro-comma", "$5", "", "");
    row("beyond the largest double", "us", "1" + std::string(400, '0'), "", "");
}

void MoneyTest::formatMoneyOfText() {
    QFETCH(QByteArray, settings);
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, money);
    QFETCH(QByteArray, whole);
    const RegionalSettings s = settingsNamed(settings);
    const std::string t = ::text(text);
    if (money.isEmpty()) {
        QVERIFY_THROWS_EXCEPTION(ConversionError, FormatMoney(std::string_view(t), s));
        QVERIFY_THROWS_EXCEPTION(ConversionError, FormatWholeNumber(std::string_view(t), s));
    } else {
        QCOMPARE(QByteArray::fromStdString(FormatMoney(std::string_view(t), s)), money);
        QCOMPARE(QByteArray::fromStdString(FormatWholeNumber(std::string_view(t), s)), whole);
    }
}

void MoneyTest::formatWholeNumber_data() {
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<qint64>("units");
    QTest::addColumn<QByteArray>("expected");
    struct Row {
        const char* settings;
        std::int64_t units;
        const char* expected;
    };
    const Row rows[] = {
        {"us", 12346000, "1,235"},
        {"us", 120000, "12"},
        {"us", 0, "0"},
        {"us", 25000, "3"},      // a tie, away from zero
        {"us", -25000, "-3"},
        {"us", 24999, "2"},
        {"us", -4000, "0"},      // rounds to zero: no sign
        {"us", -12345000, "-1,235"},
        {"us", kMax, "922,337,203,685,478"},
        {"us", kMin, "-922,337,203,685,478"},
        {"us-parens", -50000, "(5)"},
        {"us-parens", -4999, "0"},
        {"euro-comma", 12345670000, "1.234.567"},
        {"euro-nnbsp", 12345670000, "1" TF_NNBSP "234" TF_NNBSP "567"},
        {"rupee", 123456780000, "1,23,45,678"},
        {"yen", 12345000, "1,235"},
        {"franc", 12345670000, "1’234’567"},
        {"krona", 12345670000, "1234.567"},
        {"mixed", 12345670000, "1234567"},
    };
    for (const Row& r : rows)
        QTest::addRow("%s: %lld", r.settings, static_cast<long long>(r.units))
            << QByteArray(r.settings) << qint64(r.units) << QByteArray(r.expected);
}

void MoneyTest::formatWholeNumber() {
    QFETCH(QByteArray, settings);
    QFETCH(qint64, units);
    QFETCH(QByteArray, expected);
    QCOMPARE(QByteArray::fromStdString(
                 FormatWholeNumber(Money::fromUnits(units), settingsNamed(settings))),
             expected);
}

void MoneyTest::product_data() {
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QByteArray>("amount");
    QTest::addColumn<QByteArray>("factor");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QByteArray>("expected");
    QTest::addColumn<bool>("readsBack");  // ParseMoney reads the product back
    const std::string maxDouble = std::to_string(std::numeric_limits<double>::max()).substr(0, 309);
    std::string e306 = "$1";
    for (int i = 0; i < 102; ++i) e306 += ",000";
    auto row = [](const char* name, const char* settings, const std::string& amount,
                  const std::string& factor, Outcome o, const std::string& expected,
                  bool readsBack = true) {
        QTest::newRow(name) << QByteArray(settings) << QByteArray::fromStdString(amount)
                            << QByteArray::fromStdString(factor) << int(o)
                            << QByteArray::fromStdString(expected) << readsBack;
    };
    // Half cents round away from zero, up for a positive product, down for a negative one;
    // a double would make the first five a cent low and the last a cent high.
    row("164.385", "us", "$36.53", "4.5", Value, "$164.39");
    row("9.655", "us", "$38.62", "0.25", Value, "$9.66");
    row("23.235", "us", "$46.47", "0.5", Value, "$23.24");
    row("62.985", "us", "$41.99", "1.5", Value, "$62.99");
    row("25.215", "us", "$50.43", "0.5", Value, "$25.22");
    row("1.005", "us", "$1.00", "1.005", Value, "$1.01");
    row("-18.265", "us", "$36.53", "-0.5", Value, "-$18.27");
    row("negative amount", "us", "-$36.53", "0.5", Value, "-$18.27");
    row("two negatives", "us-parens", "($36.53)", "(0.5)", Value, "$18.27");
    row("just below a half cent", "us", "$1.00", "0.00499999999999999999", Value, "$0.00");
    row("negative, rounds to zero", "us", "$36.53", "-0.0001", Value, "$0.00");
    row("zero", "us", "$36.53", "0", Value, "$0.00");
    row("minus zero", "us", "$36.53", "-0", Value, "$0.00");
    row("many decimals", "us", "$36.53", "2.333333333333333333", Value, "$85.24");
    row("grouped", "us", "$1,234.50", "1,000", Value, "$1,234,500.00");
    // Other forms and other numbers of decimals.
    row("decimal comma", "euro-comma", "1.234,50 €", "0,5", Value, "617,25 €");
    row("no decimals", "yen", "¥1,235", "0.5", Value, "¥618");
    row("three decimals", "krona", ",500 kr", "0,0015", Value, ",001 kr");
    // The edge of Money: 0.5 x 1,844,674,407,370,955.16 is the largest amount it holds
    // in cents; one more half cent is written but reads back as no amount.
    row("largest amount in cents", "us", "$0.50", "1844674407370955.16", Value,
        "$922,337,203,685,477.58");
    row("beyond Money", "us", "$1.00", "922337203685477.585", Value, "$922,337,203,685,477.59",
        false);
    // The edge of the numbers: a product up to the largest double is written out.
    row("1e306", "us", "$0.01", "1" + std::string(308, '0'), Value, e306 + ".00", false);
    row("beyond the largest double", "us", "$2.00", maxDouble, Overflow, "");
    row("factor beyond the largest double", "us", "$0.01", maxDouble + "0", Overflow, "");
    row("amount beyond the largest double", "us", "$" + maxDouble + "0", "0", Overflow, "");
    row("empty amount", "us", "", "1", Conversion, "");
    row("letters", "us", "$36.53", "abc", Conversion, "");
    row("exponent", "us", "$36.53", "1e2", Conversion, "");
    row("misplaced separator", "us", "$36.53", "2,4", Conversion, "");
}

void MoneyTest::product() {
    QFETCH(QByteArray, settings);
    QFETCH(QByteArray, amount);
    QFETCH(QByteArray, factor);
    QFETCH(int, outcome);
    QFETCH(QByteArray, expected);
    QFETCH(bool, readsBack);
    const RegionalSettings s = settingsNamed(settings);
    try {
        const std::string shown = FormatProductRoundedHalfAwayFromZero(text(amount), text(factor), s);
        QCOMPARE(int(Value), outcome);
        QCOMPARE(QByteArray::fromStdString(shown), expected);
        std::int64_t back = 0;
        QCOMPARE(parseOutcome(shown, s, back) == Value, readsBack);
    } catch (const ConversionError&) {
        QCOMPARE(int(Conversion), outcome);
    } catch (const OverflowError&) {
        QCOMPARE(int(Overflow), outcome);
    }
}

// One data row for each of the test settings.
static void rowPerSettings() {
    QTest::addColumn<QByteArray>("settings");
    for (const auto& named : allSettings()) QTest::newRow(named.name) << QByteArray(named.name);
}

void MoneyTest::productOfCentsAndTenThousandthsOfAnHour_data() { rowPerSettings(); }

// An hourly cost in the currency's smallest unit times hours in ten-thousandths, both
// signs: the product shown is the one made in integers and rounded half away from zero.
// Half the hours are whole quarters, so ties come often.
void MoneyTest::productOfCentsAndTenThousandthsOfAnHour() {
    QFETCH(QByteArray, settings);
    const RegionalSettings s = settingsNamed(settings);
    std::int64_t unitsPerCent = 1;  // Money units in the smallest unit shown
    for (int i = s.currencyDigits; i < 4; ++i) unitsPerCent *= 10;
    std::mt19937_64 random(20261208);
    std::uniform_int_distribution<std::int64_t> cents(-10'000'000, 10'000'000);
    std::uniform_int_distribution<std::int64_t> tenThousandths(-100'000'000, 100'000'000);
    std::uniform_int_distribution<std::int64_t> quarters(-4'000, 4'000);
    int ties = 0;
    for (int i = 0; i < 500; ++i) {
        const std::int64_t cost = cents(random);
        const std::int64_t hours = i % 2 == 0 ? quarters(random) * 2500 : tenThousandths(random);
        const std::int64_t exact = cost * hours;  // in ten-thousandths of a cent
        std::int64_t rounded = exact / 10000;
        const std::int64_t rest = exact % 10000;
        if (rest >= 5000) ++rounded;
        if (rest <= -5000) --rounded;
        if (rest == 5000 || rest == -5000) ++ties;

        const std::int64_t magnitude = hours < 0 ? -hours : hours;
        const std::string fraction = std::to_string(10000 + magnitude % 10000).substr(1);
        const std::string hoursText = (hours < 0 ? "-" : "") + std::to_string(magnitude / 10000) +
                                      s.decimalPoint + fraction;
        const std::string amount = FormatMoney(Money::fromUnits(cost * unitsPerCent), s);
        const std::string shown = FormatProductRoundedHalfAwayFromZero(amount, hoursText, s);
        const std::string expected = FormatMoney(Money::fromUnits(rounded * unitsPerCent), s);
        if (shown != expected)
            QFAIL(qPrintable(QString::fromStdString(amount + " x " + hoursText + " = " + shown +
                                                    ", not " + expected)));
    }
    QVERIFY2(ties > 50, qPrintable(QString::number(ties)));
}

void MoneyTest::roundTrip_data() { rowPerSettings(); }

// Every money text and whole number the formats write reads back as the value shown.
void MoneyTest::roundTrip() {
    QFETCH(QByteArray, settings);
    const RegionalSettings s = settingsNamed(settings);
    std::mt19937_64 random(20261208);
    std::uniform_int_distribution<std::int64_t> any(kMin, kMax);
    std::uniform_int_distribution<std::int64_t> small(-100'000'000, 100'000'000);
    std::uniform_int_distribution<std::int64_t> nearLimit(0, 100'000);
    const int decimals = s.currencyDigits < 4 ? s.currencyDigits : 4;
    for (int i = 0; i < 20000; ++i) {
        std::int64_t u = 0;
        switch (i % 4) {
            case 0: u = any(random); break;
            case 1: u = small(random); break;
            case 2: u = kMax - nearLimit(random); break;
            default: u = kMin + nearLimit(random); break;
        }
        const Money m = Money::fromUnits(u);
        const struct {
            std::string text;
            std::optional<Money> expected;
        } checks[] = {{FormatMoney(m, s), roundedTo(m, decimals)},
                      {FormatWholeNumber(m, s), roundedTo(m, 0)}};
        for (const auto& check : checks) {
            std::int64_t back = 0;
            const Outcome o = parseOutcome(check.text, s, back);
            if (!check.expected) {
                QVERIFY2(o == Overflow, check.text.c_str());
            } else {
                QVERIFY2(o == Value, check.text.c_str());
                QCOMPARE(back, check.expected->units());
            }
        }
    }
}

void MoneyTest::longTexts() {
    const RegionalSettings us;
    const std::string million(1'000'000, '9');
    QVERIFY_THROWS_EXCEPTION(OverflowError, ParseMoney(million, us));
    QVERIFY_THROWS_EXCEPTION(OverflowError, ParseNumber(million, us));
    const std::string zerosThenOne = std::string(1'000'000, '0') + "1";
    QCOMPARE(ParseMoney(zerosThenOne, us), Money::fromUnits(10000));
    QCOMPARE(ParseNumber(zerosThenOne, us), 1.0);
    const std::string thirds = "0." + std::string(1'000'000, '3');
    QCOMPARE(ParseNumber(thirds, us), 1.0 / 3.0);
    QCOMPARE(ParseMoney(thirds, us), Money::fromUnits(3333));
    QCOMPARE(FormatProductRoundedHalfAwayFromZero("$36.53", thirds, us), std::string("$12.18"));
    QCOMPARE(ParseMoney("0." + std::string(1'000'000, '9'), us), Money::fromUnits(10000));
    // Grouped digits all the way.
    std::string grouped = "1";
    for (int i = 0; i < 200'000; ++i) grouped += ",000";
    QVERIFY_THROWS_EXCEPTION(OverflowError, ParseMoney(grouped, us));
    QVERIFY_THROWS_EXCEPTION(OverflowError, ParseNumber(grouped, us));
    QVERIFY_THROWS_EXCEPTION(ConversionError, ParseMoney(grouped + ",00", us));
    QVERIFY_THROWS_EXCEPTION(ConversionError, ParseMoney(std::string(1'000'000, '-') + "1", us));
    QVERIFY_THROWS_EXCEPTION(ConversionError, ParseMoney(std::string(1'000'000, ' '), us));
    QVERIFY_THROWS_EXCEPTION(ConversionError, ParseMoney(std::string(1'000'000, '$') + "1", us));
    const std::string longWhole = "1" + std::string(300, '0') + ".5";
    const std::string shown = FormatWholeNumber(std::string_view(longWhole), us);
    QCOMPARE(shown.size(), std::size_t(301 + 100));
    QVERIFY(shown.starts_with("1,000,000,000,000,000,052,504,") && shown.ends_with(",160"));
}

void MoneyTest::costTableUnderItsSettings() {
    const RegionalSettings table = RegionalSettings::costTableSettings();
    QCOMPARE(table, RegionalSettings{});
    // With "." grouping pairs of digits, "$28.91" would be 2891 dollars.
    RegionalSettings pairs = testing::euroCommaSettings();
    pairs.currencySymbol = "$";
    pairs.positiveForm = pairs.negativeForm = table.positiveForm;
    pairs.monGrouping = {2};
    QCOMPARE(ParseMoney("$28.91", pairs), Money::fromUnits(28910000));

    // Every cell of the table, read under the table's settings, sums as the worksheet
    // sums it: the Virgin Islands' Tax row is 37.15 + 8.46 + 19.90.
    const auto& virgin = kCostTable[47];
    QCOMPARE(SumOf3(ParseMoney(virgin.cells[columnOf(4, Salary)], table),
                    ParseMoney(virgin.cells[columnOf(4, AST)], table),
                    ParseMoney(virgin.cells[columnOf(4, NPS)], table)),
             Money::fromUnits(655100));
}

QTEST_APPLESS_MAIN(MoneyTest)
#include "test_money.moc"
