// The built-in cost table against an independent copy of some of its rows, and the
// order and shape the position-for-position lookup relies on.
#include <QTest>
#include <cstring>
#include <string>
#include <vector>

#include "amount_oracle.h"
#include "estimate/initialise.h"
#include "refdata/cost_table.h"

namespace {

struct Row {
    int index;
    const char* name;
    const char* cells[15];
};

// Typed in again from the reference, not copied from the program.
const Row kExpected[] = {
    {0, "Alabama", {"$28.91", "$6.39", "$1.23", "$28.82", "$6.37", "$1.23", "$30.57", "$6.75", "$1.30",
                    "$36.78", "$8.12", "$1.57", "$33.23", "$7.34", "$1.42"}},
    {8, "District of Columbia", {"$35.36", "$7.11", "$3.47", "$34.33", "$6.90", "$3.37", "$38.82", "$7.80",
                                 "$3.81", "$60.24", "$12.11", "$5.91", "$30.23", "$6.08", "$2.97"}},
    {20, "Maryland", {"$28.45", "$5.22", "$3.72", "$29.34", "$5.38", "$3.84", "$32.23", "$5.91", "$4.21",
                      "$46.74", "$8.57", "$6.11", "$36.13", "$6.63", "$4.72"}},
    {39, "Puerto Rico", {"$15.27", "$2.56", "$3.18", "$15.27", "$2.56", "$3.18", "$16.04", "$2.69", "$3.34",
                         "$19.30", "$3.24", "$4.02", "$42.44", "$7.13", "$8.83"}},
    {47, "Virgin Islands", {"$23.45", "$5.34", "$12.56", "$23.34", "$5.31", "$12.50", "$28.97", "$6.60",
                            "$15.51", "$31.61", "$7.20", "$16.93", "$37.15", "$8.46", "$19.9"}},
    {50, "West Virginia", {"$24.91", "$5.22", "$7.69", "$25.49", "$5.34", "$7.87", "$28.22", "$5.91",
                           "$8.71", "$34.67", "$7.26", "$10.70", "$41.59", "$8.71", "$12.84"}},
    {52, "Wyoming", {"$32.95", "$9.83", "$11.39", "$30.62", "$9.14", "$10.59", "$36.35", "$10.85", "$12.57",
                     "$39.01", "$11.64", "$13.49", "$43.27", "$12.91", "$14.97"}},
};

class Recorder : public tf::WorksheetLists {
public:
    std::vector<std::pair<std::string, std::string>> appended;
    std::vector<std::string> events;
    void appendEntry(const std::string& list, const std::string& text) override {
        appended.emplace_back(list, text);
    }
    void setHelp(const std::string& text) override { events.push_back("help:" + text); }
    void showHelp() override { events.push_back("show"); }
};

}  // namespace

Q_DECLARE_METATYPE(const Row*)

class CostTableTest : public QObject {
    Q_OBJECT

private slots:
    void selectedRowsCellByCell_data() {
        QTest::addColumn<const Row*>("expected");
        for (const Row& row : kExpected) QTest::newRow(row.name) << &row;
    }
    void selectedRowsCellByCell() {
        QFETCH(const Row*, expected);
        const tf::Jurisdiction& j = tf::kCostTable[expected->index];
        QCOMPARE(j.name, expected->name);
        for (int c = 0; c < 15; ++c)
            QVERIFY2(std::strcmp(j.cells[c], expected->cells[c]) == 0,
                     qPrintable(QStringLiteral("column %1: %2").arg(tf::kColumnLists[c], j.cells[c])));
    }

    // Alphabetical order of the names, with the three placed where their names put them.
    void namesInAlphabeticalOrder() {
        for (std::size_t i = 1; i < tf::kCostTable.size(); ++i)
            QVERIFY2(std::strcmp(tf::kCostTable[i - 1].name, tf::kCostTable[i].name) < 0,
                     tf::kCostTable[i].name);
    }

    // Every cell is a positive dollar text within its component's range.
    void everyCellWithinItsComponentsRange() {
        const long lo[3] = {1527, 116, 123}, hi[3] = {6996, 1291, 2313};
        int oneDecimal = 0;
        for (const auto& j : tf::kCostTable)
            for (std::size_t c = 0; c < tf::kColumnCount; ++c) {
                const long v = tf::testing::amountUnits(j.cells[c], 2).value_or(-1);
                const std::size_t comp = c % 3;
                QVERIFY2(j.cells[c][0] == '$' && v >= lo[comp] && v <= hi[comp],
                         qPrintable(QStringLiteral("%1 %2").arg(j.name, j.cells[c])));
                if (std::strlen(j.cells[c]) == 5 && j.cells[c][3] == '.') ++oneDecimal;
            }
        QCOMPARE(oneDecimal, 1);  // exactly one cell is written with one decimal
    }

    // The initialisation: 16 lists of 53 in the order Salary, AS&T, NPS columns, then the
    // help text, then the help shown.
    void initialisationFillsTheListsInOrder() {
        Recorder r;
        tf::initialiseWorksheet(r);
        QCOMPARE(r.appended.size(), std::size_t{16 * 53});
        std::vector<const char*> order{tf::name::cbState};
        for (auto list : {&tf::RowControls::salary, &tf::RowControls::ast, &tf::RowControls::nps})
            for (const tf::RowControls& row : tf::kRows) order.push_back(row.*list);
        for (std::size_t k = 0; k < r.appended.size() && k < 16 * 53; ++k)
            QVERIFY2(r.appended[k].first == order[k / 53],
                     qPrintable(QStringLiteral("list order at %1").arg(k)));
        QCOMPARE(r.events, (std::vector<std::string>{std::string("help:") + tf::kFirstInstruction, "show"}));
    }

    void initialisationEntries_data() {
        QTest::addColumn<int>("position");  // in the order the entries were appended
        QTest::addColumn<QString>("text");
        QTest::newRow("item 47 of cbTaxNPS") << 53 * 15 + 47 << "$19.9";
        QTest::newRow("last state") << 52 << "Wyoming";
        QTest::newRow("Puerto Rico IC salary") << 53 + 39 << "$15.27";
    }
    void initialisationEntries() {
        QFETCH(int, position);
        QFETCH(QString, text);
        Recorder r;
        tf::initialiseWorksheet(r);
        QCOMPARE(QString::fromStdString(r.appended.at(position).second), text);
    }
};

QTEST_APPLESS_MAIN(CostTableTest)
#include "test_cost_table.moc"
