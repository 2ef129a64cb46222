#pragma once
#include <QString>

namespace tf {

// One sentence on what usually mends a Qt platform plugin that is missing or cannot be
// loaded (`loadError`: the loader's own reason, empty when the plugin is not there at all),
// or empty when nothing is known to mend it. One file per platform: platform_remedy_posix.cpp,
// platform_remedy_win.cpp.
QString platformRemedy(const QString& plugin, const QString& loadError);

}  // namespace tf
