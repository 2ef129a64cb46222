#include "estimate/initialise.h"

#include "refdata/cost_table.h"

namespace tf {

void initialiseWorksheet(WorksheetLists& lists) {
    for (const Jurisdiction& j : kCostTable) lists.appendEntry(name::cbState, j.name);

    // Salary columns first, then AS&T, then NPS; each list complete before the next.
    for (Component component : {Salary, AST, NPS}) {
        for (std::size_t row = 0; row < kRowCount; ++row) {
            const std::size_t column = columnOf(row, component);
            for (const Jurisdiction& j : kCostTable) lists.appendEntry(kColumnLists[column], j.cells[column]);
        }
    }

    lists.setHelp(kFirstInstruction);
    lists.showHelp();
}

}  // namespace tf
