// Windows always has a desktop to show the window on: the interactive session's. What the
// check holds while Qt starts is Qt's own message box: where its platform plugin cannot
// start, Qt shows one (in its words, and even to a script whose standard error is a file)
// before it gives up. The program says why in its own words instead, through
// reportStartupFailure, so no dialog may open on this thread until Qt has started.
#include <windows.h>

#include "app/display_check.h"

namespace tf {

namespace {

LRESULT CALLBACK holdDialogs(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        wchar_t name[16] = {};
        GetClassNameW(reinterpret_cast<HWND>(wParam), name, 16);
        if (lstrcmpW(name, L"#32770") == 0) return 1;  // a dialog: it is not created
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

DesktopCheck checkDesktop(const QtOptions&) {
    HHOOK hook = SetWindowsHookExW(WH_CBT, holdDialogs, nullptr, GetCurrentThreadId());
    if (!hook) return {};
    return {{}, std::shared_ptr<void>(hook, [](void* h) { UnhookWindowsHookEx(static_cast<HHOOK>(h)); })};
}

}  // namespace tf
