#include "app/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QStringList>
#include <cstdio>

#include "app/console.h"
#include "app_info.h"

namespace tf {

namespace {

// Qt's own options, handled by QGuiApplication, QApplication and the X11 platform when the
// application object is created. Qt takes them with one dash or two, and the value after
// the option or after "=".
struct QtOption {
    const char* name;
    bool takesValue;
};
constexpr QtOption kQtOptions[] = {
    {"platform", true},    {"platformpluginpath", true}, {"platformtheme", true},
    {"plugin", true},      {"qwindowgeometry", true},     {"qwindowicon", true},
    {"qwindowtitle", true}, {"session", true},            {"display", true},
    {"geometry", true},    {"title", true},               {"icon", true},
    {"name", true},        {"visual", true},              {"ncols", true},
    {"cmap", true},        {"style", true},               {"stylesheet", true},
    {"qmljsdebugger", true}, {"dialogs", true},           {"fontengine", true},
    {"reverse", false},    {"widgetcount", false},        {"sync", false},
    {"nograb", false},     {"dograb", false},             {"testability", false},
};

// The arguments without Qt's options: what is left is the program's to judge. The values of
// the Qt options that decide which display the window goes to are kept in `qt`.
QStringList withoutQtOptions(int argc, char** argv, QtOptions& qt) {
    QStringList left{QString::fromLocal8Bit(argv[0])};
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        QString name = arg;
        if (name.startsWith(QLatin1String("--")))
            name.remove(0, 2);
        else if (name.startsWith(QLatin1Char('-')))
            name.remove(0, 1);
        else {
            left << arg;
            continue;
        }
        const qsizetype equals = name.indexOf(QLatin1Char('='));
        const bool valueAttached = equals >= 0;
        if (valueAttached) name.truncate(equals);
        bool qts = false;
        for (const QtOption& option : kQtOptions) {
            if (name != QLatin1String(option.name)) continue;
            qts = valueAttached ? option.takesValue : true;
            if (qts && option.takesValue && !valueAttached && ++i < argc) {  // the value follows
                // Qt takes these two only with the value after them; the last one counts.
                if (name == QLatin1String("platform")) qt.platform = argv[i];
                if (name == QLatin1String("display")) qt.display = argv[i];
            }
            break;
        }
        if (!qts) left << arg;
    }
    return left;
}

}  // namespace

void announceApplication() {
    QCoreApplication::setApplicationName(QStringLiteral(TF_APP_NAME));
    QCoreApplication::setApplicationVersion(QStringLiteral(TF_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(TF_APP_ID));
}

std::optional<int> answerCommandLine(int argc, char** argv, QtOptions& qt) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral("Estimates what the workload of a state program costs in one jurisdiction."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();

    const QStringList arguments = withoutQtOptions(argc, argv, qt);
    if (!parser.parse(arguments)) {
        // Named as the user typed it: "-reverse=1", not Qt's "reverse".
        QString what = parser.errorText();
        const QStringList unknown = parser.unknownOptionNames();
        for (const QString& arg : arguments) {
            if (unknown.isEmpty() || !arg.startsWith(QLatin1Char('-'))) continue;
            QString name = arg.mid(arg.startsWith(QLatin1String("--")) ? 2 : 1);
            name.truncate(name.indexOf(QLatin1Char('=')) < 0 ? name.size() : name.indexOf(QLatin1Char('=')));
            if (name == unknown.constFirst()) {
                what = QStringLiteral("unknown option '%1'.").arg(arg);
                break;
            }
        }
        prepareConsoleOutput();
        std::fprintf(stderr, "tallyforge: %s Try 'tallyforge --help'.\n", qPrintable(what));
        return 2;
    }
    if (!parser.positionalArguments().isEmpty()) {
        prepareConsoleOutput();
        std::fprintf(stderr, "tallyforge: unexpected argument '%s'; the worksheet opens no files. "
                             "Try 'tallyforge --help'.\n",
                     qPrintable(parser.positionalArguments().constFirst()));
        return 2;
    }
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        QString text = parser.helpText();
        // Without an application object Qt cannot name the program in its usage line.
        text.replace(QStringLiteral("<executable_name>"), QStringLiteral("tallyforge"));
        text += QStringLiteral("\nQt's own options (-platform NAME, -style NAME, -reverse ...) are "
                               "accepted too" TF_HELP_MORE ".\n");
        prepareConsoleOutput();
        std::fputs(qPrintable(text), stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        prepareConsoleOutput();
        std::printf("%s %s\n", qPrintable(QCoreApplication::applicationName()),
                    qPrintable(QCoreApplication::applicationVersion()));
        return 0;
    }
    return std::nullopt;
}

}  // namespace tf
