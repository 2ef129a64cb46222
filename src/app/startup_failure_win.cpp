// A Windows program started from the Start menu or Explorer has no standard error: what is
// written there reaches nobody. The reason the worksheet cannot start is then shown in a
// message box. Started with its standard error in a console, a file or a pipe (a script, a
// test, a deployment tool), it writes there instead and never waits for a click.
#include <windows.h>

#include <cstdio>
#include <thread>

#include "window/message_box.h"
#include "app/startup_failure.h"

namespace tf {

namespace {

// The handle the program inherited, not a console attached later: only --help and the
// other answers of the command line attach to the console of the program that started them.
bool hasStandardError() {
    const HANDLE handle = GetStdHandle(STD_ERROR_HANDLE);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

}  // namespace

void reportStartupFailure(const QString& sentences) {
    if (hasStandardError()) {
        std::fputs(sentences.toLocal8Bit().constData(), stderr);
        std::fflush(stderr);
        return;
    }
    // From a thread of its own: while Qt starts, the desktop check holds back every dialog
    // of the main thread (Qt's own box among them).
    const QString text = sentences.trimmed();
    const QString title = QString::fromUtf8(kApplicationTitle);
    std::thread([&] {
        MessageBoxW(nullptr, reinterpret_cast<const wchar_t*>(text.utf16()),
                    reinterpret_cast<const wchar_t*>(title.utf16()),
                    MB_OK | MB_ICONERROR | MB_SETFOREGROUND | MB_TOPMOST);
    }).join();
}

}  // namespace tf
