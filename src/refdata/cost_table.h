#pragma once
// The built-in jurisdiction cost table. Plain data, no Qt.
#include <array>
#include <cstddef>

#include "refdata/control_names.h"

namespace tf {

inline constexpr std::size_t kJurisdictionCount = 53;
inline constexpr std::size_t kColumnCount = 3 * kRowCount;

struct Jurisdiction {
    const char* name;
    // Cells in the order IC Sal, IC AST, IC NPS, WK Sal, WK AST, WK NPS, NM ..., AP ..., Tax ...:
    // column = 3 * row + component.
    std::array<const char*, kColumnCount> cells;
};

extern const std::array<Jurisdiction, kJurisdictionCount> kCostTable;

enum Component : std::size_t { Salary = 0, AST = 1, NPS = 2 };

inline constexpr std::size_t columnOf(std::size_t row, Component component) {
    return 3 * row + component;
}

// The component list that holds each column, in the same order as Jurisdiction::cells.
inline constexpr std::array<const char*, kColumnCount> kColumnLists = [] {
    std::array<const char*, kColumnCount> lists{};
    for (std::size_t row = 0; row < kRowCount; ++row) {
        lists[columnOf(row, Salary)] = kRows[row].salary;
        lists[columnOf(row, AST)] = kRows[row].ast;
        lists[columnOf(row, NPS)] = kRows[row].nps;
    }
    return lists;
}();

}  // namespace tf
