#include "estimate/initialise.h"

#include "refdata/cost_table.h"

namespace tf {

void initialiseWorksheet(WorksheetLists& lists) {
    std::vector<std::string> entries;
    entries.reserve(kCostTable.size());
    for (const Jurisdiction& j : kCostTable) entries.emplace_back(j.name);
    lists.appendEntries(name::cbState, entries);

    // Salary columns first, then AS&T, then NPS; each list complete before the next.
    for (Component component : {Salary, AST, NPS}) {
        for (std::size_t row = 0; row < kRowCount; ++row) {
            const std::size_t column = columnOf(row, component);
            entries.clear();
            for (const Jurisdiction& j : kCostTable) entries.emplace_back(j.cells[column]);
            lists.appendEntries(kColumnLists[column], entries);
        }
    }

    lists.setHelp(kFirstInstruction);
    lists.showHelp();
}

}  // namespace tf
