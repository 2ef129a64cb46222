// The jurisdiction choice, the hours handlers and Update, run against a worksheet
// without a window. Expected amounts are worked out here from the digits of the texts,
// in whole cents and exact hours, without the conversions under test.
//
// TF_TEST_SETTINGS picks the regional settings the estimate works with: "us" (the cost
// table's own) or "us-parentheses" (negative amounts and numbers in parentheses).
#include <QtTest>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>

#include "amount_oracle.h"
#include "estimate/estimate.h"
#include "estimate/messages.h"
#include "fake_view.h"
#include "refdata/cost_table.h"

using tf::Estimate;
using tf::kCostTable;
using tf::kRows;
constexpr int kHoursRows = static_cast<int>(tf::kRowCount);
using tf::RegionalSettings;
using tf::testing::amountUnits;
using tf::testing::FakeView;
using Outcome = tf::Estimate::Outcome;

namespace {

// The handlers' texts, as strings to compare with.
const std::string kChooseHelp = tf::kChooseHelp, kContinueHelp = tf::kContinueHelp,
                  kCompleteHelp = tf::kCompleteHelp, kNegative = tf::kNegativeHours,
                  kBlank = tf::kBlankHours;

RegionalSettings parenthesesSettings() {
    RegionalSettings s;
    s.negativeForm.signPosition = tf::SignPosition::Parentheses;
    s.negativeNumberForm = tf::NegativeNumberForm::Parentheses;
    return s;
}

bool settingsUseParentheses() {
    const char* name = std::getenv("TF_TEST_SETTINGS");
    return name && std::string(name) == "us-parentheses";
}

const RegionalSettings& testSettings() {
    static const RegionalSettings settings =
        settingsUseParentheses() ? parenthesesSettings() : RegionalSettings{};
    return settings;
}

// --- Texts worked out by hand ------------------------------------------------------

__extension__ typedef __int128 Wide;

std::string grouped(long long magnitude) {
    std::string digits = std::to_string(magnitude);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(at, ",");
    return digits;
}

std::string withSign(const std::string& body, bool negative) {
    if (!negative) return body;
    return settingsUseParentheses() ? "(" + body + ")" : "-" + body;
}

std::string moneyText(long long cents) {
    const long long m = cents < 0 ? -cents : cents;
    const std::string frac = (m % 100 < 10 ? "0" : "") + std::to_string(m % 100);
    return withSign("$" + grouped(m / 100) + "." + frac, cents < 0);
}

// The average hourly cost of one row of the table, in cents.
long long averageCents(int jurisdiction, int row) {
    long long sum = 0;
    for (int component = 0; component < 3; ++component) {
        sum += *amountUnits(kCostTable[jurisdiction].cells[3 * row + component], 2);
    }
    return sum;
}

// value / step, rounded half away from zero.
long long roundedHalfAway(Wide value, Wide step) {
    Wide whole = value / step;
    const Wide rest = value % step;
    if (rest * 2 >= step) ++whole;
    if (rest * 2 <= -step) --whole;
    return static_cast<long long>(whole);
}

constexpr int kHoursScale = 20;  // the most decimals an hours text of these tests has
constexpr Wide kHoursStep = static_cast<Wide>(10'000'000'000) * 10'000'000'000;

// An hours text in ten-thousandths, rounded as the totals read it.
long long hoursUnits(const std::string& hours) {
    return roundedHalfAway(*amountUnits<Wide>(hours, kHoursScale), kHoursStep / 10000);
}

// The category cost: the exact product of the hours and the cents, rounded half away
// from zero to cents.
long long costCents(long long averageCents, const std::string& hours) {
    return roundedHalfAway(averageCents * *amountUnits<Wide>(hours, kHoursScale), kHoursStep);
}

// The totals show what the rows show: tbTotal the exact sum of the five category cost
// texts, tbTotHours the five hours texts added and rounded to a whole number.
void verifyTotalsMatchRows(const FakeView& view) {
    long long costs = 0;
    long long hours = 0;
    for (const auto& row : kRows) {
        const auto cost = amountUnits(view.text(row.cost), 2);
        QVERIFY2(cost, view.text(row.cost).c_str());
        QVERIFY2(amountUnits<Wide>(view.text(row.hours), kHoursScale), view.text(row.hours).c_str());
        costs += *cost;
        hours += hoursUnits(view.text(row.hours));
    }
    QCOMPARE(view.text("tbTotal"), moneyText(costs));
    const auto shown = amountUnits(view.text("tbTotHours"), 0);
    QVERIFY2(shown, view.text("tbTotHours").c_str());
    const long long off = *shown * 10000 - hours;
    QVERIFY2(off >= -5000 && off <= 5000, view.text("tbTotHours").c_str());
    if (hours % 10000 != 5000 && hours % 10000 != -5000) QVERIFY(off != 5000 && off != -5000);
}

bool totalsAreCurrent(FakeView& view) {
    long latestRow = 0;
    for (const auto& row : kRows) {
        latestRow = std::max({latestRow, view[row.hours].lastWrite, view[row.cost].lastWrite});
    }
    return view["tbTotHours"].lastWrite > latestRow;
}

void verifyNothingUnreadableShown(const FakeView& view) {
    for (const auto& [name, control] : view.controls()) {
        // The boxes the handlers write amounts into (the hours boxes are typed by the test).
        if (name.rfind("tb", 0) != 0 || name.rfind("tbHours", 0) == 0) continue;
        QVERIFY2(control.text.find("inf") == std::string::npos &&
                     control.text.find("nan") == std::string::npos,
                 (name + ": " + control.text).c_str());
    }
}

std::string lastFocusCall(const FakeView& view) {
    for (auto it = view.events.rbegin(); it != view.events.rend(); ++it) {
        if (it->kind == "focus" || it->kind == "focus-refused") return it->detail;
    }
    return {};
}

// A worksheet after the user chose jurisdiction `index`.
void chooseJurisdiction(FakeView& view, Estimate& estimate, int index) {
    view.choose(index);
    estimate.stateChosen();
}

}  // namespace

Q_DECLARE_METATYPE(Outcome)

namespace QTest {
template <>
inline char* toString(const std::string& s) {
    return qstrdup(s.size() > 200 ? (s.substr(0, 200) + "...").c_str() : s.c_str());
}
template <>
inline char* toString(const FakeView::Event& e) {
    return qstrdup((e.kind + ": " + e.detail).c_str());
}
template <>
inline char* toString(const std::vector<std::string>& v) {
    std::string all = "[";
    for (const auto& s : v) all += (all.size() > 1 ? " | " : "") + s;
    return qstrdup((all + "]").c_str());
}
template <>
inline char* toString(const Outcome& o) {
    const char* names[] = {"Done", "Warned", "Recovered", "NotFocusable"};
    return qstrdup(names[static_cast<int>(o)]);
}
}  // namespace QTest

class EstimateTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        view = std::make_unique<FakeView>();
        estimate = std::make_unique<Estimate>(*view, testSettings());
    }
    void cleanup() {
        QVERIFY2(view->unknown.empty(), view->unknown.empty() ? "" : view->unknown[0].c_str());
    }

    // --- The jurisdiction choice

    void averagesOfEveryJurisdiction_data() {
        QTest::addColumn<int>("index");
        for (int i = 0; i < static_cast<int>(kCostTable.size()); ++i) {
            QTest::newRow(kCostTable[i].name) << i;
        }
    }
    void averagesOfEveryJurisdiction() {
        QFETCH(int, index);
        chooseJurisdiction(*view, *estimate, index);
        for (std::size_t column = 0; column < tf::kColumnCount; ++column) {
            const std::string list(tf::kColumnLists[column]);
            QCOMPARE((*view)[list].index, index);
            QCOMPARE(view->text(list), std::string(kCostTable[index].cells[column]));
        }
        for (int row = 0; row < kHoursRows; ++row) {
            QCOMPARE(view->text(kRows[row].average), moneyText(averageCents(index, row)));
        }
    }

    void acceptanceAmounts() {
        chooseJurisdiction(*view, *estimate, 0);
        QCOMPARE(view->text("cbState"), std::string("Alabama"));
        const char* alabama[] = {"$36.53", "$36.42", "$38.62", "$46.47", "$41.99"};
        for (int row = 0; row < kHoursRows; ++row) {
            QCOMPARE(view->text(kRows[row].average), std::string(alabama[row]));
        }
        int islands = -1;
        for (int i = 0; i < static_cast<int>(kCostTable.size()); ++i) {
            if (std::string(kCostTable[i].name) == "Virgin Islands") islands = i;
        }
        QVERIFY(islands >= 0);
        chooseJurisdiction(*view, *estimate, islands);
        QCOMPARE(view->text("cbTaxNPS"), std::string("$19.9"));
        QCOMPARE(view->text("tbTaxHour"), std::string("$65.51"));
    }

    void choiceOpensTheHoursBoxes() {
        chooseJurisdiction(*view, *estimate, 52);
        for (const auto& row : kRows) QVERIFY(view->isVisible(row.hours));
        QCOMPARE(view->events.front(), (FakeView::Event{"focus", "tbHoursIC"}));
        QCOMPARE(view->events.at(1), (FakeView::Event{"help", kChooseHelp}));
        // Update ran: every row recomputed with the "0" the boxes hold.
        for (int row = 0; row < 4; ++row) {
            QCOMPARE(view->events.at(2 + row), (FakeView::Event{"help", kContinueHelp}));
        }
        QCOMPARE(view->events.at(6), (FakeView::Event{"help", kCompleteHelp}));
        QCOMPARE(view->events.size(), std::size_t{7});
        QCOMPARE(view->focus, std::string("tbHoursIC"));
        for (const auto& row : kRows) QCOMPARE(view->text(row.cost), moneyText(0));
        QCOMPARE(view->text("tbTotal"), moneyText(0));
        QCOMPARE(view->text("tbTotHours"), std::string("0"));
        QVERIFY(view->messages.empty());
    }

    void choiceWithNothingSelectedDoesNothing() {
        const auto before = view->texts();
        estimate->stateChosen();
        QCOMPARE(view->texts(), before);
        QVERIFY(view->events.empty());
        for (const auto& row : kRows) QVERIFY(!view->isVisible(row.hours));
    }

    // A broken list (missing entry, unreadable text, an amount beyond range) ends the
    // choice at the row it breaks: earlier rows are written, nothing after, no crash.
    void choiceEndsAtABrokenList_data() {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("entry");  // empty: the list lacks the entry
        QTest::addColumn<int>("rowsWritten");
        QTest::newRow("missing entry") << "cbNMAST" << "" << 0;
        QTest::newRow("unreadable") << "cbAPNPS" << "n/a" << 3;
        QTest::newRow("beyond range") << "cbWKSal" << "$9,999,999,999,999,999.00" << 1;
        QTest::newRow("sum beyond range") << "cbTaxSal" << "$922,337,203,685,477.00" << 4;
    }
    void choiceEndsAtABrokenList() {
        QFETCH(QString, list);
        QFETCH(QString, entry);
        QFETCH(int, rowsWritten);
        auto& entries = (*view)[list.toStdString()].entries;
        if (entry.isEmpty()) {
            entries.pop_back();
        } else {
            entries.back() = entry.toStdString();
        }
        chooseJurisdiction(*view, *estimate, 52);
        for (int row = 0; row < kHoursRows; ++row) {
            const std::string shown = view->text(kRows[row].average);
            if (row < rowsWritten) {
                QCOMPARE(shown, moneyText(averageCents(52, row)));
            } else {
                QCOMPARE(shown, std::string());
            }
        }
        for (const auto& row : kRows) QVERIFY(!view->isVisible(row.hours));
        QVERIFY(view->events.empty());
    }

    void secondChoiceKeepsHoursAndRecomputes() {
        chooseJurisdiction(*view, *estimate, 0);
        const char* hours[] = {"3", "1.5", "0", "-1", " 20 "};
        for (int row = 0; row < kHoursRows; ++row) view->setText(kRows[row].hours, hours[row]);
        estimate->update();
        const auto first = view->texts();
        chooseJurisdiction(*view, *estimate, 1);
        for (int row = 0; row < kHoursRows; ++row) {
            QCOMPARE(view->text(kRows[row].hours), std::string(hours[row]));
            QCOMPARE(view->text(kRows[row].average), moneyText(averageCents(1, row)));
            QCOMPARE(view->text(kRows[row].cost), moneyText(costCents(averageCents(1, row), hours[row])));
        }
        QVERIFY(view->text("tbTotal") != first.at("tbTotal"));
        verifyTotalsMatchRows(*view);
        // The negative Appeals hours are reported again on every choice.
        QCOMPARE(view->messages, std::vector<std::string>({kNegative, kNegative}));
    }

    // --- The hours handlers

    void categoryCostAndTotals_data() {
        QTest::addColumn<int>("jurisdiction");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("hours");
        QTest::newRow("whole") << 0 << 0 << "2";
        QTest::newRow("zero") << 0 << 1 << "0";
        QTest::newRow("fraction") << 0 << 0 << "2.4";
        QTest::newRow("quarter") << 5 << 3 << "0.25";
        QTest::newRow("four decimals") << 20 << 2 << "3.3333";
        QTest::newRow("negative") << 0 << 2 << "-2";
        QTest::newRow("negative fraction") << 52 << 4 << "-0.6";
        QTest::newRow("blanks around") << 1 << 1 << " 12 ";
        QTest::newRow("thousands") << 0 << 4 << "1,234";
        QTest::newRow("large") << 4 << 3 << "250000";
        // Half cents round away from zero: 164.385, 9.655, 23.235, 62.985, 25.215, -18.265.
        QTest::newRow("half cent, IC") << 0 << 0 << "4.5";
        QTest::newRow("half cent, NM") << 0 << 2 << "0.25";
        QTest::newRow("half cent, AP") << 0 << 3 << "0.5";
        QTest::newRow("half cent, Tax") << 0 << 4 << "1.5";
        QTest::newRow("half cent, District of Columbia") << 8 << 2 << "0.5";
        QTest::newRow("negative half cent") << 0 << 0 << "-0.5";
        QTest::newRow("many decimals") << 0 << 1 << "2.333333333333333333";
        QTest::newRow("minus zero") << 0 << 0 << "-0";
        QTest::newRow("largest cost the total holds") << 0 << 0 << "25248760024190.6";
    }
    void categoryCostAndTotals() {
        QFETCH(int, jurisdiction);
        QFETCH(int, row);
        QFETCH(QString, hours);
        chooseJurisdiction(*view, *estimate, jurisdiction);
        const char* others[] = {"7", "0.6", "12", "1", "30"};
        for (int r = 0; r < kHoursRows; ++r) view->setText(kRows[r].hours, others[r]);
        estimate->update();
        const auto before = view->texts();
        view->clearLog();

        view->setText(kRows[row].hours, hours.toStdString());
        // A negative value is warned about ("-0" is zero, not negative); the costs are
        // worked out all the same.
        const bool negative = hours.startsWith('-') && hours.toDouble() != 0;
        QCOMPARE(estimate->hoursLeft(row), negative ? Outcome::Warned : Outcome::Done);

        QCOMPARE(view->text(kRows[row].cost),
                 moneyText(costCents(averageCents(jurisdiction, row), hours.toStdString())));
        QCOMPARE(view->text(kRows[row].hours), hours.toStdString());  // never reformatted
        for (int r = 0; r < kHoursRows; ++r) {
            if (r != row) QCOMPARE(view->text(kRows[r].cost), before.at(kRows[r].cost));
        }
        verifyTotalsMatchRows(*view);
        QCOMPARE(view->text("lbHelp"), row == 4 ? kCompleteHelp : kContinueHelp);
        if (*amountUnits<Wide>(hours.toStdString(), kHoursScale) < 0) {
            QCOMPARE(view->messages, std::vector<std::string>{kNegative});
            const auto& e = view->events;
            QCOMPARE(e.size(), std::size_t{3});
            QCOMPARE(e[1], (FakeView::Event{"message", kNegative}));
            QCOMPARE(e[2], (FakeView::Event{"focus", kRows[row].hours}));
        } else {
            QVERIFY(view->messages.empty());
        }
    }

    // What the screen holds after every kind of failure: the recovery message, "0" in
    // the box, the focus back in it, and only the boxes written before the failing step
    // hold new texts. The worksheet starts with Alabama and "1" in every hours box.
    void failures_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("hours");
        QTest::addColumn<QStringList>("overrides");  // "control=text" set beforehand
        QTest::addColumn<bool>("refuseFocus");
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QString>("hoursAfter");
        QTest::addColumn<int>("boxesNew");  // 0 none, 1 cost, 2 cost and tbTotal, 3 all

        const QStringList none;
        const QStringList blank{QString::fromStdString(kBlank)};
        const QStringList negative{QString::fromStdString(kNegative)};
        const auto R = Outcome::Recovered;
        // Step 3: the hours text does not read as a number.
        QTest::newRow("empty") << 0 << "" << none << false << R << blank << "0" << 0;
        QTest::newRow("blanks") << 1 << "   " << none << false << R << blank << "0" << 0;
        QTest::newRow("letters") << 2 << "abc" << none << false << R << blank << "0" << 0;
        QTest::newRow("nan") << 3 << "nan" << none << false << R << blank << "0" << 0;
        QTest::newRow("inf") << 4 << "inf" << none << false << R << blank << "0" << 0;
        QTest::newRow("exponent") << 0 << "1e400" << none << false << R << blank << "0" << 0;
        QTest::newRow("misplaced separator") << 1 << "2,4" << none << false << R << blank << "0" << 0;
        QTest::newRow("two signs") << 2 << "--5" << none << false << R << blank << "0" << 0;
        QTest::newRow("symbol only") << 3 << "$" << none << false << R << blank << "0" << 0;
        QTest::newRow("million digits") << 4 << QString(1000000, QChar('9')) << none << false << R << blank
                                        << "0" << 0;
        // Step 3: below zero is a warning only; the costs are worked out with it.
        QTest::newRow("negative") << 2 << "-2" << none << false << Outcome::Warned << negative << "-2"
                                  << 3;
        QTest::newRow("negative, focus refused")
            << 2 << "-2" << none << true << Outcome::NotFocusable << (negative + blank) << "0" << 0;
        // Step 4: no average hourly cost, or a product beyond the largest double.
        QTest::newRow("average empty")
            << 3 << "2" << QStringList{"tbAPHour="} << false << R << blank << "0" << 0;
        QTest::newRow("average unreadable")
            << 3 << "2" << QStringList{"tbAPHour=n/a"} << false << R << blank << "0" << 0;
        QTest::newRow("product beyond double")
            << 4 << ("1" + QString(308, QChar('0'))) << none << false << R << blank << "0" << 0;
        // Step 5: a category cost text of any row, or their sum, beyond Money. The
        // smallest hours whose cost ($922,337,203,685,477.59) is written but reads back
        // as no amount.
        QTest::newRow("own cost just beyond money")
            << 0 << "25248760024239.7368" << none << false << R << blank << "0" << 1;
        QTest::newRow("later cost unreadable")
            << 0 << "2" << QStringList{"tbCostNM=garbage"} << false << R << blank << "0" << 1;
        QTest::newRow("later cost beyond money")
            << 1 << "2" << QStringList{"tbCostTax=$1,000,000,000,000,000.00"} << false << R << blank
            << "0" << 1;
        QTest::newRow("cost sum beyond money")
            << 0 << "2"
            << QStringList{"tbCostWC=$500,000,000,000,000.00", "tbCostNM=$500,000,000,000,000.00"}
            << false << R << blank << "0" << 1;
        // Step 6: an hours text of any row, or their sum, beyond Money.
        QTest::newRow("own hours beyond money")
            << 0 << "1000000000000000" << QStringList{"tbICHour=$0.00"} << false << R << blank << "0"
            << 2;
        QTest::newRow("later hours unreadable")
            << 0 << "2" << QStringList{"tbHoursAP=abc"} << false << R << blank << "0" << 2;
        QTest::newRow("hours sum beyond money")
            << 2 << "2"
            << QStringList{"tbHoursWC=500000000000000", "tbHoursAP=500000000000000"}
            << false << R << blank << "0" << 2;
        // The box will not take the focus back.
        QTest::newRow("focus refused") << 1 << "abc" << none << true << Outcome::NotFocusable << blank
                                       << "0" << 0;
    }
    void failures() {
        QFETCH(int, row);
        QFETCH(QString, hours);
        QFETCH(QStringList, overrides);
        QFETCH(bool, refuseFocus);
        QFETCH(Outcome, outcome);
        QFETCH(QStringList, messages);
        QFETCH(QString, hoursAfter);
        QFETCH(int, boxesNew);

        chooseJurisdiction(*view, *estimate, 0);
        for (const auto& r : kRows) view->setText(r.hours, "1");
        estimate->update();
        for (const QString& o : overrides) {
            const auto at = o.indexOf('=');
            view->setText(o.left(at).toStdString(), o.mid(at + 1).toStdString());
        }
        const std::string box = kRows[row].hours;
        view->setText(box, hours.toStdString());
        (*view)[box].focusable = !refuseFocus;
        const auto before = view->texts();
        view->clearLog();

        QCOMPARE(estimate->hoursLeft(row), outcome);

        std::vector<std::string> expectedMessages;
        for (const QString& m : messages) expectedMessages.push_back(m.toStdString());
        QCOMPARE(view->messages, expectedMessages);
        QCOMPARE(tf::Estimate::showedMessage(outcome), !expectedMessages.empty());
        QCOMPARE(view->text(box), hoursAfter.toStdString());
        QCOMPARE(lastFocusCall(*view), box);
        QCOMPARE(view->focus, refuseFocus ? std::string("tbHoursIC") : box);
        QCOMPARE(view->text("lbHelp"), row == 4 ? kCompleteHelp : kContinueHelp);
        const char* written[] = {kRows[row].cost, "tbTotal", "tbTotHours"};
        for (int i = 0; i < 3; ++i) {
            if (i < boxesNew) {
                QVERIFY2(view->text(written[i]) != before.at(written[i]), written[i]);
            } else {
                QCOMPARE(view->text(written[i]), before.at(written[i]));
            }
        }
        for (int r = 0; r < kHoursRows; ++r) {
            if (r != row) QCOMPARE(view->text(kRows[r].hours), before.at(kRows[r].hours));
        }
        if (outcome == Outcome::Done || outcome == Outcome::Warned) verifyTotalsMatchRows(*view);
        verifyNothingUnreadableShown(*view);
    }

    void recoveryThenLeavingAgain() {
        chooseJurisdiction(*view, *estimate, 0);
        view->setText("tbHoursWC", "3");
        estimate->hoursLeft(1);
        const auto costs = view->texts();
        view->setText("tbHoursWC", "");
        QCOMPARE(estimate->hoursLeft(1), Outcome::Recovered);
        QCOMPARE(view->text("tbHoursWC"), std::string("0"));
        QCOMPARE(view->text("tbCostWC"), costs.at("tbCostWC"));
        QCOMPARE(view->text("tbTotal"), costs.at("tbTotal"));
        QCOMPARE(view->text("tbTotHours"), std::string("3"));
        QCOMPARE(estimate->hoursLeft(1), Outcome::Done);
        QCOMPARE(view->text("tbCostWC"), moneyText(0));
        QCOMPARE(view->text("tbTotHours"), std::string("0"));
        verifyTotalsMatchRows(*view);
        QCOMPARE(view->messages, std::vector<std::string>{kBlank});
    }

    // --- Update

    void updateBeforeAnyChoice() {
        const auto before = view->texts();
        view->setText("tbHoursIC", "5");
        estimate->update();
        QCOMPARE(view->messages, std::vector<std::string>{kBlank});
        QCOMPARE(view->text("tbHoursIC"), std::string("0"));
        QCOMPARE(view->hiddenFocusCalls, 0);
        QCOMPARE(view->focus, std::string("cbState"));
        QCOMPARE(view->text("lbHelp"), kContinueHelp);  // the later rows did not run
        for (const char* name : {"tbCostIC", "tbCostWC", "tbTotal", "tbTotHours"}) {
            QCOMPARE(view->text(name), before.at(name));
        }
        QCOMPARE(estimate->hoursLeft(3), Outcome::NotFocusable);
        QCOMPARE(view->hiddenFocusCalls, 0);

        // The worksheet is still usable.
        view->clearLog();
        chooseJurisdiction(*view, *estimate, 0);
        QVERIFY(view->messages.empty());
        QCOMPARE(view->focus, std::string("tbHoursIC"));
        QCOMPARE(view->text("tbICHour"), std::string("$36.53"));
        QCOMPARE(view->text("lbHelp"), kCompleteHelp);
    }

    // A box that refuses the focus (visible but disabled, say) stops Update there.
    void updateStopsWhereFocusIsRefused() {
        chooseJurisdiction(*view, *estimate, 0);
        view->setText("tbWKHour", "");
        (*view)["tbHoursWC"].focusable = false;
        const auto before = view->texts();
        view->clearLog();
        estimate->update();
        QCOMPARE(view->messages, std::vector<std::string>{kBlank});
        QCOMPARE(view->text("lbHelp"), kContinueHelp);
        QCOMPARE(view->text("tbCostNM"), before.at("tbCostNM"));
        QCOMPARE(view->text("tbHoursWC"), std::string("0"));
        QVERIFY((*view)["tbCostNM"].lastWrite < (*view)["tbCostIC"].lastWrite);
    }

    void updateTwiceGivesTheSameTexts() {
        chooseJurisdiction(*view, *estimate, 30);
        const char* hours[] = {"12.5", "0", "3", "2.25", "100"};
        for (int row = 0; row < kHoursRows; ++row) view->setText(kRows[row].hours, hours[row]);
        estimate->update();
        const auto once = view->texts();
        estimate->update();
        QCOMPARE(view->texts(), once);
        QCOMPARE(view->text("lbHelp"), kCompleteHelp);
        QVERIFY(view->messages.empty());
        verifyTotalsMatchRows(*view);
    }

    // Edits, choices, Updates and Tabs at random: whenever the totals were written after
    // the last change to a row, they are the sums of the rows on screen.
    void randomUse() {
        const char* pool[] = {"0",   "1",     "2",     "7",      "12", "40",  "2.4",
                              "0.5", "1.25",  "-2",    "-0.75",  " 12 ", "1,234", "",
                              "abc", "nan",   "3.3333", "100000000000000"};
        std::mt19937 random(20261208);
        auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
        int checked = 0;
        for (int step = 0; step < 600; ++step) {
            const int action = pick(20);
            if (action < 3) {
                chooseJurisdiction(*view, *estimate, pick(53));
            } else if (action < 6) {
                estimate->update();
            } else {
                const int row = pick(kHoursRows);
                if (action < 18) view->setText(kRows[row].hours, pool[pick(std::size(pool))]);
                const Outcome outcome = estimate->hoursLeft(row);
                if (outcome == Outcome::Done || outcome == Outcome::Warned)
                    QVERIFY(totalsAreCurrent(*view));
            }
            verifyNothingUnreadableShown(*view);
            if (QTest::currentTestFailed()) return;
            if (!totalsAreCurrent(*view)) continue;
            ++checked;
            verifyTotalsMatchRows(*view);
            if (QTest::currentTestFailed()) {
                qWarning("after step %d", step);
                return;
            }
        }
        QVERIFY2(checked > 300, qPrintable(QString::number(checked)));
    }

    // --- The settings are the ones the window passes in

    void negativeAmountsFollowTheSettings_data() {
        QTest::addColumn<bool>("parentheses");
        QTest::addColumn<QString>("cost");
        QTest::addColumn<QString>("hours");
        QTest::newRow("sign") << false << "-$73.06" << "-2";
        QTest::newRow("parentheses") << true << "($73.06)" << "(2)";
    }
    void negativeAmountsFollowTheSettings() {
        QFETCH(bool, parentheses);
        QFETCH(QString, cost);
        QFETCH(QString, hours);
        const RegionalSettings settings = parentheses ? parenthesesSettings() : RegionalSettings{};
        FakeView own;
        Estimate e(own, settings);
        own.choose(0);
        e.stateChosen();
        own.setText("tbHoursIC", "-2");
        QCOMPARE(e.hoursLeft(0), Outcome::Warned);
        QCOMPARE(own.text("tbCostIC"), cost.toStdString());
        QCOMPARE(own.text("tbTotal"), cost.toStdString());
        QCOMPARE(own.text("tbTotHours"), hours.toStdString());
        // Its own negative texts read back: leaving the box once more changes nothing.
        const auto once = own.texts();
        QCOMPARE(e.hoursLeft(0), Outcome::Warned);
        QCOMPARE(own.texts(), once);
    }

private:
    std::unique_ptr<FakeView> view;
    std::unique_ptr<Estimate> estimate;
};

QTEST_APPLESS_MAIN(EstimateTest)
#include "test_handlers.moc"
