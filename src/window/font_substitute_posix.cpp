// fontconfig knows which installed family is closest to Verdana (DejaVu Sans on Debian).
#include <QFont>
#include <QFontInfo>

#include "window/font_substitute.h"

namespace tf {

QString verdanaSubstitute() { return QFontInfo(QFont(QStringLiteral("Verdana"))).family(); }

}  // namespace tf
