#pragma once
// The built-in jurisdiction cost table. Plain data, no Qt: the money code and its
// tests read it too.
#include <array>
#include <cstddef>
#include <string_view>

namespace tf {

inline constexpr std::size_t kJurisdictionCount = 53;
inline constexpr std::size_t kColumnCount = 15;
inline constexpr std::size_t kRowCount = 5;  // workload functions

struct Jurisdiction {
    const char* name;
    // Cells in the order IC Sal, IC AST, IC NPS, WK Sal, WK AST, WK NPS, NM ..., AP ..., Tax ...:
    // column = 3 * row + component.
    std::array<const char*, kColumnCount> cells;
};

extern const std::array<Jurisdiction, kJurisdictionCount> kCostTable;

// The component list that holds each column, in the same order as Jurisdiction::cells.
inline constexpr std::array<std::string_view, kColumnCount> kColumnLists = {
    "cbICSal", "cbICAST", "cbICNPS", "cbWKSal", "cbWKAST", "cbWKNPS", "cbNMSal", "cbNMAST",
    "cbNMNPS", "cbAPSal", "cbAPAST", "cbAPNPS", "cbTaxSal", "cbTaxAST", "cbTaxNPS"};

enum Component : std::size_t { Salary = 0, AST = 1, NPS = 2 };

inline constexpr std::size_t columnOf(std::size_t row, Component component) {
    return 3 * row + component;
}

}  // namespace tf
