// The settings the worksheet works with. The cost table is written for "$" before the
// amount and "." as the decimal point; user settings that read its texts as other amounts
// would show wrong costs, so they give way to the table's own.
#include "estimate/settings.h"

#include <optional>
#include <string_view>

#include "refdata/cost_table.h"

namespace tf {

namespace {

// The amount a cost table text is written as: "$", whole dollars, optionally a point
// and up to four decimals. Read on its own, without the settings machinery.
std::optional<Money> writtenAmount(std::string_view cell) {
    if (cell.size() < 2 || cell.front() != '$') return std::nullopt;
    std::int64_t whole = 0;
    std::int64_t fraction = 0;
    int decimals = -1;  // -1: no point yet
    for (char c : cell.substr(1)) {
        if (c == '.' && decimals < 0) {
            decimals = 0;
        } else if (c >= '0' && c <= '9') {
            if (decimals < 0) {
                if (whole > 100000000) return std::nullopt;
                whole = whole * 10 + (c - '0');
            } else {
                if (++decimals > 4) return std::nullopt;
                fraction = fraction * 10 + (c - '0');
            }
        } else {
            return std::nullopt;
        }
    }
    for (int i = decimals < 0 ? 0 : decimals; i < 4; ++i) fraction *= 10;
    return Money::fromUnits(whole * Money::kUnitsPerWhole + fraction);
}

// Whether the figures the worksheet writes read back as the same figures: category costs
// and totals are read again by the sums. A group separator with a digit in it, or the same
// as the decimal point, would make "$12,345.00" read as another amount or as none.
bool readsOwnFigures(const RegionalSettings& settings) {
    // Whole amounts, so that no rounding to the currency's decimals changes them: with no
    // group, with one and with every group, of both signs.
    for (const std::int64_t whole : {0LL, 12LL, -12LL, 1000LL, -1000LL, 1234567890123LL, -1234567890123LL}) {
        const Money amount = Money::fromUnits(whole * Money::kUnitsPerWhole);
        try {
            if (ParseMoney(FormatMoney(amount, settings), settings) != amount) return false;
            if (ParseMoney(FormatWholeNumber(amount, settings), settings) != amount) return false;
        } catch (const MoneyError&) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool readsCostTable(const RegionalSettings& settings) {
    for (const Jurisdiction& row : kCostTable) {
        for (const char* cell : row.cells) {
            const std::optional<Money> meant = writtenAmount(cell);
            if (!meant) return false;
            try {
                if (ParseMoney(cell, settings) != *meant) return false;
            } catch (const MoneyError&) {
                return false;
            }
        }
    }
    return true;
}

RegionalSettings worksheetSettings(const RegionalSettings& user) {
    return readsCostTable(user) && readsOwnFigures(user) ? user : RegionalSettings::costTableSettings();
}

}  // namespace tf
