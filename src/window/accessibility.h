#pragma once

namespace tf {

// Makes screen readers announce the worksheet's drop-down lists by their accessible
// names ("State", "Initial Claims, Salary" ...) with the entry they show as their text.
// Qt names a drop-down list after its current entry on this platform, which says
// nothing about which row and column it belongs to. Call once the application exists.
void installAccessibleListNames();

}  // namespace tf
