// The built-in cost table against an independent copy of some of its rows, and the
// order and shape the position-for-position lookup relies on.
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "refdata/cost_table.h"
#include "refdata/initialise.h"

namespace {

int failures = 0;
int checks = 0;

void expect(bool ok, const std::string& what) {
    ++checks;
    if (!ok) {
        ++failures;
        std::printf("FAIL: %s\n", what.c_str());
    }
}

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

// Cents of a "$d.dd" text, or -1 when it is not of that form ("$19.9" has one decimal).
long cents(const char* text) {
    if (text[0] != '$') return -1;
    long whole = 0, frac = 0;
    int fracDigits = 0;
    const char* p = text + 1;
    if (!*p || *p == '.') return -1;
    for (; *p && *p != '.'; ++p) {
        if (*p < '0' || *p > '9') return -1;
        whole = whole * 10 + (*p - '0');
    }
    if (*p != '.') return -1;
    for (++p; *p; ++p, ++fracDigits) {
        if (*p < '0' || *p > '9' || fracDigits == 2) return -1;
        frac = frac * 10 + (*p - '0');
    }
    if (fracDigits == 0) return -1;
    if (fracDigits == 1) frac *= 10;
    return whole * 100 + frac;
}

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

int main() {
    using tf::kCostTable;

    // Selected rows, cell by cell.
    for (const Row& row : kExpected) {
        const tf::Jurisdiction& j = kCostTable[row.index];
        expect(std::strcmp(j.name, row.name) == 0, "name at " + std::to_string(row.index));
        for (int c = 0; c < 15; ++c)
            expect(std::strcmp(j.cells[c], row.cells[c]) == 0,
                   std::string(row.name) + " column " + std::string(tf::kColumnLists[c]));
    }

    // Alphabetical order of the names, with the three placed where their names put them.
    for (std::size_t i = 1; i < kCostTable.size(); ++i)
        expect(std::strcmp(kCostTable[i - 1].name, kCostTable[i].name) < 0,
               std::string("order at ") + kCostTable[i].name);

    // Every cell is a positive dollar text within its component's range.
    const long lo[3] = {1527, 116, 123}, hi[3] = {6996, 1291, 2313};
    int oneDecimal = 0;
    for (const auto& j : kCostTable)
        for (std::size_t c = 0; c < tf::kColumnCount; ++c) {
            const long v = cents(j.cells[c]);
            const std::size_t comp = c % 3;
            expect(v >= lo[comp] && v <= hi[comp], std::string(j.name) + " " + j.cells[c]);
            if (std::strlen(j.cells[c]) == 5 && j.cells[c][3] == '.') ++oneDecimal;
        }
    expect(oneDecimal == 1, "exactly one cell written with one decimal");

    // The initialisation: 16 lists of 53 in the order Salary, AS&T, NPS columns, then the help.
    Recorder r;
    tf::initialiseWorksheet(r);
    expect(r.appended.size() == 16 * 53, "16 lists of 53 entries");
    const char* order[] = {"cbState", "cbICSal", "cbWKSal", "cbNMSal", "cbAPSal", "cbTaxSal",
                           "cbICAST", "cbWKAST", "cbNMAST", "cbAPAST", "cbTaxAST", "cbICNPS",
                           "cbWKNPS", "cbNMNPS", "cbAPNPS", "cbTaxNPS"};
    for (std::size_t k = 0; k < r.appended.size() && k < 16 * 53; ++k)
        expect(r.appended[k].first == order[k / 53], "list order at " + std::to_string(k));
    expect(r.appended[53 * 15 + 47].second == "$19.9", "item 47 of cbTaxNPS");
    expect(r.appended[52].second == "Wyoming", "last state");
    expect(r.appended[53 + 39].second == "$15.27", "Puerto Rico IC salary");
    expect(r.events == std::vector<std::string>{"help:Select a State from the Drop Down box titled "
                                                "'Select a State' and hit the tab key",
                                                "show"},
           "help text then shown");

    std::printf("%d passed, %d failed\n", checks - failures, failures);
    return failures ? 1 : 0;
}
