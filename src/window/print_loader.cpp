#include "window/print_loader.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

#include "app_info.h"

namespace tf {

namespace {

using PrintEntry = void (*)(QWidget*, QString*);

PrintEntry loadPrinting(QString& problem) {
    static PrintEntry entry = nullptr;
    if (entry) return entry;
    // Where it is installed first, then, in a build with tests, where the build put it.
    const QStringList places{
        installedPrintModule(QCoreApplication::applicationDirPath()),
#ifdef TF_PRINT_MODULE_PATH
        QStringLiteral(TF_PRINT_MODULE_PATH),
#endif
    };
    QString why;
    for (const QString& place : places) {
        QLibrary library(place);
        if (!library.load()) {
            if (why.isEmpty()) why = library.errorString();
            continue;
        }
        entry = reinterpret_cast<PrintEntry>(library.resolve("tallyforge_print_form"));
        if (entry) return entry;  // stays loaded for the rest of the run
        why = library.errorString();
    }
    problem = QStringLiteral("The form was not printed because the printing part of Tallyforge "
                             "could not be loaded (%1).")
                  .arg(why);
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
