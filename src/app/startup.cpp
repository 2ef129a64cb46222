#include "app/startup.h"

#include <QApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonObject>
#include <QLibrary>
#include <QList>
#include <QPluginLoader>
#include <QRegularExpression>
#include <cstdlib>
#include <exception>
#include <memory>
#include <utility>

#include "app/command_line.h"
#include "app/display_check.h"
#include "app/font_warmup.h"
#include "app/platform_remedy.h"
#include "app/startup_failure.h"
#include "window/userform2.h"

namespace tf {

namespace {

QtMessageHandler previousHandler = nullptr;
struct Held {
    QtMsgType type;
    QByteArray category;
    QString message;
};
QList<Held>* held = nullptr;

// Where the library of Qt's platform plugin `plugin` is and why it cannot be loaded, in the
// system loader's words; no reason when it loads (the plugin itself then declined to start)
// or cannot be found.
struct LoadFailure {
    QString file;
    QString reason;
};
LoadFailure loadError(const QString& plugin, const QString& folder) {
    QStringList folders;
    if (!folder.isEmpty()) folders << folder;
    for (const QString& path : QCoreApplication::libraryPaths())
        folders << path + QStringLiteral("/platforms");
    for (const QString& dir : std::as_const(folders)) {
        for (const QFileInfo& file : QDir(dir).entryInfoList(QDir::Files)) {
            QPluginLoader loader(file.absoluteFilePath());
            const QJsonArray keys = loader.metaData()
                                        .value(QLatin1String("MetaData"))
                                        .toObject()
                                        .value(QLatin1String("Keys"))
                                        .toArray();
            for (const QJsonValue& key : keys) {
                if (key.toString().compare(plugin, Qt::CaseInsensitive) != 0) continue;
                // QLibrary, not the plugin loader: after Qt's own failed attempt only it
                // still gives the reason.
                QLibrary library(file.absoluteFilePath());
                if (library.load()) return {};
                // QLibrary's sentence names the file, then gives the loader's reason, in
                // parentheses or not.
                QString why = library.errorString();
                const QString named = file.fileName() + QLatin1String(": ");
                if (const qsizetype at = why.indexOf(named); at >= 0) why = why.mid(at + named.size());
                if (why.startsWith(QLatin1Char('(')) && why.endsWith(QLatin1Char(')')))
                    why = why.mid(1, why.size() - 2);
                return {QDir::toNativeSeparators(file.absoluteFilePath()), why};
            }
        }
    }
    return {};
}

// Qt's last word before it gives up starting, with the warnings before it, told as one or
// two sentences of ours; Qt's own words only decide which.
QString explainFailure(const QString& fatal, const QList<Held>& warnings) {
    static const QRegularExpression notFound(
        QStringLiteral(R"re(Could not find the Qt platform plugin "([^"]*)")re"));
    static const QRegularExpression notLoaded(
        QStringLiteral(R"re(Could not load the Qt platform plugin "([^"]*)" in "([^"]*)")re"));
    static const QRegularExpression available(
        QStringLiteral(R"(Available platform plugins are: ([^\n]*?)\.?\s*$)"));
    QStringList causes, remedies;
    for (const Held& m : warnings) {
        if (const QRegularExpressionMatch found = notFound.match(m.message); found.hasMatch()) {
            const QString name = found.captured(1);
            const QString remedy = platformRemedy(name, {});
            if (remedy.isEmpty()) {
                const QString others = available.match(fatal).captured(1);
                causes << QStringLiteral("Qt has no platform plugin \"%1\"").arg(name) +
                              (others.isEmpty() ? QString()
                                                : QStringLiteral(" (it has %1)").arg(others));
            } else {
                causes << QStringLiteral("Qt's platform plugin \"%1\" is not installed").arg(name);
                remedies << remedy;
            }
        } else if (const QRegularExpressionMatch broken = notLoaded.match(m.message);
                   broken.hasMatch()) {
            const QString name = broken.captured(1);
            const LoadFailure failed = loadError(name, broken.captured(2));
            if (failed.reason.isEmpty()) {
                causes << QStringLiteral("Qt's platform plugin \"%1\" could not start").arg(name);
            } else {
                causes << QStringLiteral("Qt's platform plugin \"%1\" is installed (%2) but could "
                                         "not be loaded (%3)")
                              .arg(name, failed.file, failed.reason);
                remedies << platformRemedy(name, failed.reason);
            }
        }
    }
    // Otherwise the platform plugin, when one had been loaded, gave up on its own.
    const QString platform = QGuiApplication::platformName();
    if (causes.isEmpty() && !platform.isEmpty())
        causes << (QGuiApplication::screens().isEmpty()
                       ? QStringLiteral("Qt's platform plugin \"%1\" found no screen to show it on")
                       : QStringLiteral("Qt's platform plugin \"%1\" could not start"))
                      .arg(platform);
    if (causes.isEmpty())
        return QStringLiteral("Tallyforge cannot show its window: Qt stopped while it started.\n");
    remedies.removeAll(QString());
    remedies.removeDuplicates();
    return QStringLiteral("Tallyforge cannot show its window: %1.%2\n")
        .arg(causes.join(QStringLiteral("; ")),
             remedies.isEmpty() ? QString() : QLatin1Char(' ') + remedies.join(QLatin1Char(' ')));
}

// Until the window is shown, Qt's messages wait: they mean little to a user whose window
// comes up. When Qt gives up instead (which would end the program with an abort and a core
// dump), the user reads why in our words alone, and Qt's messages are dropped.
void startupMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtFatalMsg && held) {
        // Taken out first: what Qt says while the cause is looked into joins the list.
        const QList<Held> said = std::exchange(*held, {});
        reportStartupFailure(explainFailure(message, said));
        std::_Exit(2);
    }
    if (held) held->append({type, QByteArray(context.category ? context.category : ""), message});
}

}  // namespace

int runWorksheet(int argc, char** argv) {
    announceApplication();
    QtOptions qt;
    if (const std::optional<int> answered = answerCommandLine(argc, argv, qt)) return *answered;
    DesktopCheck desktop = checkDesktop(qt);
    if (!desktop.problem.empty()) {
        reportStartupFailure(QString::fromStdString(desktop.problem));
        return 2;
    }
    // The font configuration is read while Qt starts. Not before the display has answered:
    // with few processors, a busy thread beside it holds up the display server's answer.
    std::shared_ptr<void> fonts = startFontWarmup();
    QList<Held> startup;
    held = &startup;
    previousHandler = qInstallMessageHandler(startupMessages);
    QApplication app(argc, argv);
    desktop.connection.reset();
    fonts.reset();
    QApplication::setApplicationDisplayName(QString());

    std::unique_ptr<UserForm2> form;
    try {
        form = std::make_unique<UserForm2>();
        form->show();
    } catch (const std::exception& e) {
        // Nothing of the worksheet can go on without its window.
        qInstallMessageHandler(previousHandler);
        held = nullptr;
        reportStartupFailure(QStringLiteral("Tallyforge cannot show its window: %1.\n")
                                 .arg(QString::fromLocal8Bit(e.what())));
        return 2;
    }
    qInstallMessageHandler(previousHandler);
    held = nullptr;
    for (const Held& m : startup) {
        const QMessageLogContext context(nullptr, 0, nullptr,
                                         m.category.isEmpty() ? nullptr : m.category.constData());
        qt_message_output(m.type, context, m.message);
    }
    // Without a window manager nothing else gives the new window the keyboard.
    form->activateWindow();
    form->focusStart();
    return app.exec();
}

}  // namespace tf
