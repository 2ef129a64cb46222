// Windows' Region settings. Everywhere: each form their values can name, as amounts
// and numbers are written and read back under it, and the worksheet's choice between the
// user's settings and the cost table's. Under Wine, once per case that CTest names in
// TF_REGION_CASE (region-run sets its locale and the user's changes): what
// readUserSettings() reads.
#include "money/money_region.h"
#include "estimate/settings.h"
#include "money/settings_reader.h"
#include "money_settings.h"

#include <QtTest>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

using namespace tf;
using V = RegionValues;

namespace {

constexpr std::int64_t kAmount = 43836000;      // 4,383.60
constexpr std::int64_t kBig = 12345678900000;   // 1,234,567,890
constexpr std::int64_t kNumber = -12345670000;  // -1,234,567

struct Form {
    V values;
    std::int64_t units;
    const char* shown;  // a whole number when it has no currency symbol
};

std::vector<Form> forms() {
    const char* const currency[] = {"$4,383.60", "4,383.60$", "$ 4,383.60", "4,383.60 $"};
    const char* const negCurr[] = {
        "($4,383.60)", "-$4,383.60",  "$-4,383.60",   "$4,383.60-",   "(4,383.60$)",  "-4,383.60$",
        "4,383.60-$",  "4,383.60$-",  "-4,383.60 $",  "-$ 4,383.60",  "4,383.60 $-",  "$ 4,383.60-",
        "$ -4,383.60", "4,383.60- $", "($ 4,383.60)", "(4,383.60 $)", "$- 4,383.60"};
    const char* const negNumber[] = {"(1,234,567)", "-1,234,567", "- 1,234,567", "1,234,567-", "1,234,567 -"};
    std::vector<Form> all = {
        {{.sMonGrouping = "3"}, kBig, "$1234567,890.00"},     {{.sMonGrouping = "3;2;0"}, kBig, "$1,23,45,67,890.00"},
        {{.sMonGrouping = "3;2"}, kBig, "$12345,67,890.00"},  {{.sMonGrouping = "0"}, kBig, "$1234567890.00"},
        {{.sGrouping = "3;2;0"}, kBig, "1,23,45,67,890"},     {{.iLZero = "0"}, 5000, "$.50"},
        {{.iNegCurr = "14", .iLZero = "0"}, -5000, "($ .50)"}, {{.iCurrDigits = "3"}, kAmount, "$4,383.600"},
        {{.sCurrency = "€", .iCurrency = "3", .sMonDecimalSep = ",", .sMonThousandSep = "."}, kAmount, "4.383,60 €"},
        {{.sDecimal = ",", .sThousand = "."}, kNumber, "-1.234.567"},
        {{.sNegativeSign = "\u200E-"}, -kAmount, "\u200E-$4,383.60"},
        {{.sNegativeSign = "\u200E-"}, kNumber, "\u200E-1,234,567"},
        // Values Windows would not hold count as the cost table's.
        {{.iNegCurr = "17"}, -kAmount, "-$4,383.60"}, {{.iCurrDigits = "x"}, kAmount, "$4,383.60"},
        {{.sMonGrouping = "3;"}, kBig, "$1,234,567,890.00"}, {{.iNegNumber = ""}, kNumber, "-1,234,567"}};
    for (int i = 0; i < 4; ++i) all.push_back({{.iCurrency = std::to_string(i)}, kAmount, currency[i]});
    for (int i = 0; i < 17; ++i) all.push_back({{.iNegCurr = std::to_string(i)}, -kAmount, negCurr[i]});
    for (int i = 0; i < 5; ++i) all.push_back({{.iNegNumber = std::to_string(i)}, kNumber, negNumber[i]});
    return all;
}

// One user's settings under Wine: the values read (what Wine 8 reports for the locale,
// with the user's changes), a negative amount and number under them, and how the
// worksheet shows -4,383.60: in the user's form when it keeps their settings.
const struct UserCase {
    const char* name;
    V values;
    const char* negativeAmount;
    const char* negativeNumber;
    bool keeps;
    const char* worksheetAmount;
} kUserCases[] = {
    {"en_us", {.iNegCurr = "0"}, "($4,383.60)", "-1,234,567", true, "($4,383.60)"},
    {"de_de", {"€", "3", "8", ",", ".", "3;0", "2", "1", ",", ".", "3;0", "1", "-"},
     "-4.383,60 €", "-1.234.567", false, "-$4,383.60"},
    {"es_pr", {}, "-$4,383.60", "-1,234,567", true, "-$4,383.60"},
    {"custom", {.iCurrency = "2", .iNegCurr = "14", .sMonThousandSep = "'", .sThousand = "'"},
     "($ 4'383.60)", "-1'234'567", true, "($ 4'383.60)"},
    {"euro", {"€", "3", "15", ",", ".", "3;0", "2", "1", ",", ".", "3;0", "1", "-"},
     "(4.383,60 €)", "-1.234.567", false, "-$4,383.60"},
    {"other", {.iNegCurr = "0", .sMonGrouping = "3;2;0", .iCurrDigits = "3", .iLZero = "0",
               .sGrouping = "3", .iNegNumber = "4", .sNegativeSign = "−"},
     "($4,383.600)", "1234,567 −", true, "($4,383.600)"},
};

QByteArray bytes(const std::string& s) { return QByteArray::fromStdString(s); }

}  // namespace

Q_DECLARE_METATYPE(tf::RegionalSettings)

class MoneyRegionTest : public QObject {
    Q_OBJECT

private slots:
    void forms_data();
    void forms();
    void userSettings();
    void worksheetKeepsOrReplacesTheUsersSettings_data();
    void worksheetKeepsOrReplacesTheUsersSettings();
};

void MoneyRegionTest::forms_data() {
    QTest::addColumn<int>("row");
    const std::vector<Form> all = ::forms();
    for (int i = 0; i < int(all.size()); ++i) QTest::addRow("%d: %s", i, all[i].shown) << i;
}

void MoneyRegionTest::forms() {
    QFETCH(int, row);
    const Form f = ::forms()[row];
    const RegionalSettings s = settingsFromRegion(f.values);
    const QByteArray shown(f.shown);
    const bool number = !shown.contains("$") && !shown.contains("€");
    const Money m = Money::fromUnits(f.units);
    QCOMPARE(bytes(number ? FormatWholeNumber(m, s) : FormatMoney(m, s)), shown);
    QCOMPARE(ParseMoney(f.shown, s), *testing::roundedTo(m, number ? 0 : s.currencyDigits));
    QCOMPARE(settingsFromRegion(V{}), RegionalSettings::costTableSettings());
}

void MoneyRegionTest::userSettings() {
    const char* name = std::getenv("TF_REGION_CASE");
    if (name == nullptr) QSKIP("runs under Wine with the Region settings of a case (TF_REGION_CASE)");
    const auto* c = std::find_if(std::begin(kUserCases), std::end(kUserCases),
                                 [&](const UserCase& u) { return qstrcmp(u.name, name) == 0; });
    QVERIFY2(c != std::end(kUserCases), name);
    const RegionalSettings user = readUserSettings();
    QCOMPARE(user, settingsFromRegion(c->values));
    QCOMPARE(bytes(FormatMoney(Money::fromUnits(-kAmount), user)), QByteArray(c->negativeAmount));
    QCOMPARE(ParseMoney(c->negativeAmount, user), Money::fromUnits(-kAmount));
    QCOMPARE(bytes(FormatWholeNumber(Money::fromUnits(kNumber), user)), QByteArray(c->negativeNumber));
    QCOMPARE(ParseMoney(c->negativeNumber, user), Money::fromUnits(kNumber));
}

// The settings of the Region cases, of the money tests, of the C library's locales and some
// that only nearly read the cost table: whether they read it, whether the worksheet keeps
// them, and -4,383.60 in the settings it works with.
void MoneyRegionTest::worksheetKeepsOrReplacesTheUsersSettings_data() {
    QTest::addColumn<RegionalSettings>("user");
    QTest::addColumn<bool>("reads");
    QTest::addColumn<bool>("keeps");
    QTest::addColumn<QByteArray>("shown");
    auto row = [](const char* name, const RegionalSettings& s, bool reads, bool keeps, const char* shown) {
        QTest::newRow(name) << s << reads << keeps << QByteArray(shown);
    };
    for (const UserCase& c : kUserCases)
        row(c.name, settingsFromRegion(c.values), c.keeps, c.keeps, c.worksheetAmount);
    const std::pair<const char*, const char*> kept[] = {
        {"us", "-$4,383.60"}, {"us-parens", "($4,383.60)"}, {"region", "$ 4'383.60-"}};
    for (const auto& [name, s] : testing::allSettings()) {
        const auto* k = std::find_if(std::begin(kept), std::end(kept),
                                     [&](const auto& p) { return qstrcmp(p.first, name) == 0; });
        const bool keeps = k != std::end(kept);
        row(name, s, keeps, keeps, keeps ? k->second : "-$4,383.60");
    }
    const RegionalSettings table = RegionalSettings::costTableSettings();
    RegionalSettings s = table;
    s.monGrouping = {4};
    row("groups of four", s, true, true, "-$4383.60");
    s = table;
    s.positiveForm = s.negativeForm = {true, 1, SignPosition::BeforeAll};
    row("es_PR: a space after the symbol", s, true, true, "-$ 4,383.60");
    s.negativeForm.signPosition = SignPosition::Parentheses;
    row("es_PR with parentheses", s, true, true, "($ 4,383.60)");
    s = table;
    s.currencySymbol.clear();
    row("no currency symbol", s, false, false, "-$4,383.60");
    s.monThousandsSep = s.thousandsSep = "";
    s.monGrouping = s.grouping = {};
    row("C locale", s, false, false, "-$4,383.60");
    s = testing::euroCommaSettings();
    s.decimalPoint = ".";
    s.thousandsSep = ",";
    row("US numbers, euro amounts", s, false, false, "-$4,383.60");
    s = testing::euroCommaSettings();
    s.currencySymbol = "$";
    s.positiveForm = s.negativeForm = table.positiveForm;
    row("dollar, decimal comma", s, false, false, "-$4,383.60");
    // Texts that are accepted but read as other amounts do not count as read.
    s.monGrouping = {2};
    row("dollar, '.' grouping pairs", s, false, false, "-$4,383.60");
    // Settings that read the table but not every figure the worksheet writes: a minus sign
    // that is the decimal point, with no leading zero (".50" for fifty cents).
    s = table;
    s.negativeSign = ".";
    s.leadingZero = false;
    row("minus sign that is the decimal point", s, true, false, "-$4,383.60");
}

void MoneyRegionTest::worksheetKeepsOrReplacesTheUsersSettings() {
    QFETCH(RegionalSettings, user);
    QFETCH(bool, reads);
    QFETCH(bool, keeps);
    QFETCH(QByteArray, shown);
    QCOMPARE(readsCostTable(user), reads);
    const RegionalSettings chosen = worksheetSettings(user);
    QCOMPARE(chosen, keeps ? user : RegionalSettings::costTableSettings());
    QCOMPARE(bytes(FormatMoney(Money::fromUnits(-kAmount), chosen)), shown);
}

QTEST_APPLESS_MAIN(MoneyRegionTest)
#include "test_region.moc"
