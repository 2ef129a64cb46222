#include "print/print_loader.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

#include "app_info.h"
#include "print/print_message.h"

namespace tf {

namespace {

using PrintEntry = void (*)(QWidget*, QString*);

PrintEntry loadPrinting(QString& problem) {
    static PrintEntry entry = nullptr;
    if (entry) return entry;
    // Where it is installed beside the program; the build puts it in the same place
    // relative to the programs it builds.
    QLibrary library(installedPrintModule(QCoreApplication::applicationDirPath()));
    if (library.load()) {
        entry = reinterpret_cast<PrintEntry>(library.resolve("tallyforge_print_form"));
        if (entry) return entry;  // stays loaded for the rest of the run
    }
    problem = notPrinted(
        QStringLiteral("the printing part of " TF_APP_NAME " could not be loaded (%1)").arg(library.errorString()));
    return nullptr;
}

}  // namespace

QString installedPrintModule(const QString& programDir) {
    return QDir::cleanPath(QDir(programDir).filePath(QStringLiteral(TF_PRINT_MODULE_DIR "/" TF_PRINT_MODULE_NAME)));
}

QString printForm(QWidget& form) {
    QString problem;
    PrintEntry entry = loadPrinting(problem);
    if (!entry) return problem;
    QString result;
    entry(&form, &result);
    return result;
}

}  // namespace tf
