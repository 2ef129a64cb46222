// The settings the worksheet works with. The cost table is written for "$" before the
// amount and "." as the decimal point; user settings that read its texts as other amounts
// would show wrong costs, so they give way to the table's own.
#include "estimate/settings.h"

#include <algorithm>
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

// Whether the figures the worksheet writes read back as the same figures, up to the rounding
// to their decimals: category costs and totals are read again by the sums. A separator with
// a digit in it, a minus sign that is also the decimal point, or a group separator the same
// as the decimal point would make "$12,345.00" read as another amount or as none.
bool readsOwnFigures(const RegionalSettings& settings) {
    const int decimals = std::clamp(settings.currencyDigits, 0, 4);
    std::int64_t step = 1;  // the units of the last decimal shown
    for (int i = decimals; i < 4; ++i) step *= 10;
    const auto near = [](Money read, Money written, std::int64_t within) {
        const std::int64_t apart = read.units() - written.units();
        return apart <= within && -apart <= within;
    };
    // With no group, with one and with every group, fractions among them, of both signs.
    for (const std::int64_t units : {0LL, 5LL, 5000LL, 123456LL, 12340000LL, 12345678901234567LL}) {
        for (const Money amount : {Money::fromUnits(units), Money::fromUnits(-units)}) {
            try {
                if (!near(ParseMoney(FormatMoney(amount, settings), settings), amount, step / 2)) return false;
                if (!near(ParseMoney(FormatWholeNumber(amount, settings), settings), amount, Money::kUnitsPerWhole / 2))
                    return false;
            } catch (const MoneyError&) {
                return false;
            }
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
