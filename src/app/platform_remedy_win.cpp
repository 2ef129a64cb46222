// On Windows Qt's platform plugins travel with the program, in its platforms folder.
#include "app/platform_remedy.h"

#include <QStringList>

namespace tf {

QString platformRemedy(const QString& plugin, const QString&) {
    static const QStringList shipped{QStringLiteral("windows"), QStringLiteral("direct2d"),
                                     QStringLiteral("offscreen"), QStringLiteral("minimal")};
    if (!shipped.contains(plugin)) return {};
    return QStringLiteral("Installing Tallyforge again usually mends it.");
}

}  // namespace tf
