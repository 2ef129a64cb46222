#pragma once
#include <QString>
class QWidget;
namespace tf {
// Prints the current image of `form` (its whole client area) on the default printer, without a dialog.
// Returns an empty string when the print service accepted the job; otherwise one plain sentence for
// the user saying that the form was not printed and why.
QString printOnDefaultPrinter(QWidget& form);
}
