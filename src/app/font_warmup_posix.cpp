// fontconfig reads its configuration files and its caches once a process, at its first use:
// the larger part of the time to a first frame with text. Qt asks for it only when the
// window's first text is measured; read here it is ready by then, and so is Verdana's
// stand-in, which the window asks for first where Verdana is missing.
#include <fontconfig/fontconfig.h>

#include <clocale>
#include <thread>

#include "app/font_warmup.h"
#include "window/font_substitute.h"

namespace tf {

std::shared_ptr<void> startFontWarmup() {
    // fontconfig reads the numbers in its files in the terms of the C library's locale. The
    // application object sets the locale from the environment once it is made; set here as
    // it will set it, before the thread starts, it does not change under the thread.
    std::setlocale(LC_ALL, "");
    auto* reader = new std::thread([] {
        FcInit();
        verdanaSubstitute();
    });
    return std::shared_ptr<void>(reader, [](void* t) {
        auto* thread = static_cast<std::thread*>(t);
        thread->join();
        delete thread;
    });
}

}  // namespace tf
