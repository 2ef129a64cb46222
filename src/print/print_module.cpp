// The entry point of the printing module. Printing pulls in Qt Print Support and the
// print service's client library with all it depends on; the worksheet loads them only
// when the user first presses Print Form, so start-up and memory do not pay for them.
#include <QString>
#include <QWidget>

#include "print/print_form.h"

extern "C" Q_DECL_EXPORT void tallyforge_print_form(QWidget* form, QString* result) {
    *result = tf::printOnDefaultPrinter(*form);
}
