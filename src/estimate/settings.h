#pragma once
// The worksheet's regional settings: the user's own where the worksheet can work with them,
// otherwise the table's.
#include "money/money.h"

namespace tf {

// Whether every text of the cost table reads, under these settings, as the amount it
// is written as.
bool readsCostTable(const RegionalSettings& settings);

// The settings the worksheet works with: the user's own when they read the cost table and
// read back the figures they write, otherwise the cost table's.
RegionalSettings worksheetSettings(const RegionalSettings& user);

}  // namespace tf
