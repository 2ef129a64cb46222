#pragma once
#include <QString>

class QWidget;

namespace tf {

// Prints `form` on the default printer through the printing module, loading it the first
// time. Empty when the print service took the job, otherwise one sentence for the user.
QString printForm(QWidget& form);

// Where an installed program whose executable is in `programDir` keeps its printing module.
QString installedPrintModule(const QString& programDir);

}  // namespace tf
