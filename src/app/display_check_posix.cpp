// Whether an X server or a Wayland compositor is there to show the window in, asked of the
// displays Qt will try, in Qt's order, before the application object exists (Qt cannot make
// a second one after it has given up on the first). A display that is named but not
// reachable yet, as at the start of a desktop session, is waited for.
//
// X displays are asked through libxcb, the library Qt's own X11 platform connects with, so
// every form of display name, the local and the network sockets and the X authority are
// honoured exactly as Qt will honour them. Wayland compositors are asked by connecting to
// their socket, as libwayland-client does.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/display_check.h"

namespace tf {

namespace {

constexpr auto kPatience = std::chrono::seconds(3);
constexpr auto kRetryEvery = std::chrono::milliseconds(100);

std::string variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

constexpr const char* kNoDesktopMessage =
    "Tallyforge is a desktop program and needs a desktop session to show its window, "
    "but no display was found (DISPLAY and WAYLAND_DISPLAY are not set).\n";

// One display that Qt will try, and what came of asking it.
struct Display {
    enum Kind { X, Wayland };
    Display(Kind k, std::string n, std::string why = {})
        : kind(k), name(std::move(n)), detail(std::move(why)), settled(!detail.empty() || !named()) {}
    // False for an X display without DISPLAY or -display.
    bool named() const { return kind == Wayland || !name.empty(); }

    Kind kind;
    std::string name;    // ":151", or the compositor's socket
    std::string detail;  // why it did not answer, when more can be said than that
    bool answered = false;
    bool settled;        // waiting will not change the answer
    std::shared_ptr<void> connection;
};

// The platforms Qt will try, in its order: -platform, else QT_QPA_PLATFORM, else Wayland
// where the session is one, then X11. Only X11 and Wayland need a display to be reached;
// with any other platform among them (offscreen, or a name Qt does not know) the question
// is left to Qt, whose own answer startup.cpp explains.
bool displaysToTry(const QtOptions& qt, std::vector<Display>& displays) {
    std::string platforms = qt.platform;
    if (platforms.empty()) platforms = variable("QT_QPA_PLATFORM");
    if (platforms.empty())
        platforms = std::getenv("WAYLAND_DISPLAY") || variable("XDG_SESSION_TYPE") == "wayland"
                        ? "wayland;xcb"
                        : "xcb";
    for (std::size_t from = 0; from <= platforms.size();) {
        std::size_t end = platforms.find(';', from);
        if (end == std::string::npos) end = platforms.size();
        const std::string entry = platforms.substr(from, end - from);
        const std::string platform = entry.substr(0, entry.find(':'));  // "name:arguments"
        from = end + 1;
        if (platform == "xcb") {
            std::string name = qt.display;
            if (name.empty()) name = variable("DISPLAY");
            displays.emplace_back(Display::X, name);
        } else if (platform.rfind("wayland", 0) == 0) {
            if (std::getenv("WAYLAND_SOCKET")) return false;  // handed an open connection
            std::string name = variable("WAYLAND_DISPLAY");
            if (name.empty()) name = "wayland-0";
            const std::string runtime = variable("XDG_RUNTIME_DIR");
            if (name[0] != '/' && runtime.empty())
                displays.emplace_back(Display::Wayland, name, "XDG_RUNTIME_DIR is not set");
            else
                displays.emplace_back(Display::Wayland, name[0] == '/' ? name : runtime + "/" + name);
        } else {
            return false;
        }
    }
    return true;
}

void askX(Display& display) {
    int screen = 0;
    xcb_connection_t* connection = xcb_connect(display.name.c_str(), &screen);
    const int error = xcb_connection_has_error(connection);
    display.connection.reset(connection, [](void* c) { xcb_disconnect(static_cast<xcb_connection_t*>(c)); });
    display.answered = error == 0;
    if (error == XCB_CONN_CLOSED_PARSE_ERR) display.detail = "not a display name";
    if (error == XCB_CONN_CLOSED_INVALID_SCREEN) display.detail = "it has no such screen";
    display.settled = !display.detail.empty();
}

void askWayland(Display& display) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (display.name.size() >= sizeof address.sun_path) {
        display.detail = "the path is too long for a socket";
        display.settled = true;
        return;
    }
    std::memcpy(address.sun_path, display.name.c_str(), display.name.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    display.answered =
        fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    display.detail = display.answered ? "" : std::strerror(errno);
    if (fd >= 0) ::close(fd);
}

std::string describe(const Display& display) {
    if (!display.named()) return "an X display (DISPLAY is not set)";
    std::string what = display.kind == Display::X ? "the X display " + display.name
                                                  : "the Wayland compositor at " + display.name;
    return display.detail.empty() ? what : what + " (" + display.detail + ")";
}

}  // namespace

DesktopCheck checkDesktop(const QtOptions& qt) {
    std::vector<Display> displays;
    if (!displaysToTry(qt, displays)) return {};
    bool named = false;
    for (const Display& d : displays) named = named || d.named();
    if (!named && variable("WAYLAND_DISPLAY").empty()) return {kNoDesktopMessage, nullptr};

    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    bool waited = false;
    for (;;) {
        bool worthWaiting = false;
        for (Display& d : displays) {
            if (d.settled) continue;
            d.kind == Display::X ? askX(d) : askWayland(d);
            if (d.answered) return {{}, d.connection};
            worthWaiting = worthWaiting || !d.settled;
        }
        if (!worthWaiting || std::chrono::steady_clock::now() >= deadline) break;
        std::this_thread::sleep_for(kRetryEvery);
        waited = true;
    }

    std::string which;
    for (const Display& d : displays) which += (which.empty() ? "" : " nor ") + describe(d);
    return {"Tallyforge cannot show its window: it could not reach " + which +
           (waited ? " within 3 seconds. Is the display server running, and may this user "
                     "connect to it?\n"
                   : ".\n"),
            nullptr};
}

}  // namespace tf
