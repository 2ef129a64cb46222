// Windows has no substitution for a missing family: Qt would take the first family it knows
// in alphabetical order, often a serif one, and under Wine one whose outlines its printer
// driver cannot embed. So the stand-in is the first installed of the sans-serif families
// closest to Verdana, then the desktop's own dialog font.
#include <QFontDatabase>

#include "window/font_substitute.h"

namespace tf {

QString verdanaSubstitute() {
    for (const char* family : {"Tahoma", "Segoe UI", "DejaVu Sans", "Arial"})
        if (QFontDatabase::hasFamily(QLatin1String(family))) return QLatin1String(family);
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

}  // namespace tf
