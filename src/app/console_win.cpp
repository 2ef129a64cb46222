// The worksheet is a GUI program, so Windows gives it no console of its own. Its answers
// to --version, --help and a bad option go to the standard handles it inherited when they
// are real (output redirected to a file or a pipe), otherwise to the console of the
// program that started it (cmd.exe, PowerShell), if there is one.
#include <windows.h>

#include <cstdio>

#include "app/console.h"

namespace tf {

namespace {

bool inherited(DWORD which) {
    const HANDLE handle = GetStdHandle(which);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

}  // namespace

void prepareConsoleOutput() {
    static bool prepared = false;
    if (prepared) return;
    prepared = true;
    const bool out = inherited(STD_OUTPUT_HANDLE);
    const bool err = inherited(STD_ERROR_HANDLE);
    if ((!out || !err) && AttachConsole(ATTACH_PARENT_PROCESS)) {
        if (!out) std::freopen("CONOUT$", "w", stdout);
        if (!err) std::freopen("CONOUT$", "w", stderr);
    }
    // Unbuffered, a stream hands a console one character at a time; the answer is a
    // few lines written just before the program ends, so it goes out whole at the end.
    std::setvbuf(stdout, nullptr, _IOFBF, 1 << 14);
    std::setvbuf(stderr, nullptr, _IOFBF, 1 << 12);
}

}  // namespace tf
