// What mends a Qt platform plugin that is missing or cannot be loaded, on Debian: the
// package that holds the plugin (Debian 12's Qt 6.4 puts X11 and the headless platforms in
// libqt6gui6, Wayland in qt6-wayland), or the one holding the library it cannot find.
#include <QRegularExpression>

#include "app/platform_remedy.h"

namespace tf {

namespace {

QString packageOfPlugin(const QString& plugin) {
    if (plugin.startsWith(QLatin1String("wayland"))) return QStringLiteral("qt6-wayland");
    static const QStringList gui{QStringLiteral("xcb"), QStringLiteral("offscreen"),
                                 QStringLiteral("minimal"), QStringLiteral("linuxfb"),
                                 QStringLiteral("vkkhrdisplay")};
    if (gui.contains(plugin)) return QStringLiteral("libqt6gui6");
    if (plugin == QLatin1String("eglfs") || plugin == QLatin1String("minimalegl"))
        return QStringLiteral("libqt6opengl6");
    if (plugin == QLatin1String("vnc")) return QStringLiteral("qt6-qpa-plugins");
    return {};
}

// Debian names a library's package after its soname: libxcb-icccm.so.4 is in
// libxcb-icccm4, libxkbcommon-x11.so.0 in libxkbcommon-x11-0.
QString packageOfLibrary(const QString& name, const QString& version) {
    if (name == QLatin1String("libQt6XcbQpa")) return QStringLiteral("libqt6gui6");
    return name.toLower() + (name.back().isDigit() ? QStringLiteral("-") : QString()) + version;
}

}  // namespace

QString platformRemedy(const QString& plugin, const QString& loadError) {
    static const QRegularExpression missing(
        QStringLiteral(R"((lib[^\s/:()]+)\.so\.(\d+)[^\s:]*: cannot open shared object file)"));
    if (const QRegularExpressionMatch m = missing.match(loadError); m.hasMatch())
        return QStringLiteral(
                   "Installing the Debian package %1, which usually holds %2, should mend it.")
            .arg(packageOfLibrary(m.captured(1), m.captured(2)),
                 m.captured(0).section(QLatin1Char(':'), 0, 0));
    const QString package = packageOfPlugin(plugin);
    if (package.isEmpty()) return {};
    if (loadError.isEmpty())
        return QStringLiteral("Installing the Debian package %1, which holds it, should mend it.").arg(package);
    // Found but not loadable for another reason: most often a plugin of another Qt version.
    return package == QLatin1String("libqt6gui6")
               ? QStringLiteral("Installing the Debian package libqt6gui6 again should mend it.")
               : QStringLiteral("Installing the Debian package %1 again, at the version of libqt6gui6, "
                                "should mend it.")
                     .arg(package);
}

}  // namespace tf
