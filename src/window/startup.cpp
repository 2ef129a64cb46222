#include "window/startup.h"

#include <QApplication>
#include <QList>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "window/command_line.h"
#include "window/userform2.h"

namespace tf {

namespace {

QtMessageHandler previousHandler = nullptr;
struct Held {
    QtMsgType type;
    QString category, message;
};
QList<Held>* held = nullptr;

// While the platform starts, a display that cannot be reached would end the program with
// an abort and a core dump; say why instead.
void startupMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtFatalMsg) {
        std::fputs(kNoDesktopMessage, stderr);
        std::_Exit(2);
    }
    // Held back until the platform is up: they mean nothing to a user without a display.
    if (held) held->append({type, QString::fromUtf8(context.category ? context.category : ""), message});
}

}  // namespace

int runWorksheet(int argc, char** argv) {
    announceApplication();
    if (const std::optional<int> answered = answerCommandLine(argc, argv)) return *answered;
    if (!desktopAvailable(argc, argv)) {
        std::fputs(kNoDesktopMessage, stderr);
        return 2;
    }
    QList<Held> startup;
    held = &startup;
    previousHandler = qInstallMessageHandler(startupMessages);
    QApplication app(argc, argv);
    qInstallMessageHandler(previousHandler);
    held = nullptr;
    for (const Held& m : startup) {
        const QByteArray category = m.category.toUtf8();
        const QMessageLogContext context(nullptr, 0, nullptr, category.isEmpty() ? nullptr : category.constData());
        qt_message_output(m.type, context, m.message);
    }
    QApplication::setApplicationDisplayName(QString());

    UserForm2 form;
    form.show();
    // Without a window manager nothing else gives the new window the keyboard.
    form.activateWindow();
    form.focusStart();
    return app.exec();
}

}  // namespace tf
