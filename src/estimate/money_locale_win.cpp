// PLACEHOLDER until the Windows reader lands: the cost table's settings.
#include "estimate/money.h"

namespace tf {

RegionalSettings RegionalSettings::fromEnvironment() { return RegionalSettings{}; }

}  // namespace tf
