// Whether an X server or a Wayland compositor is there to show the window in.
#include <cstdlib>
#include <cstring>

#include "window/startup.h"

namespace tf {

namespace {

bool set(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

}  // namespace

bool desktopAvailable(int argc, char** argv) {
    if (set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM")) return true;
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "-platform") == 0 || std::strncmp(argv[i], "-platform=", 10) == 0)
            return true;
    return false;
}

}  // namespace tf
