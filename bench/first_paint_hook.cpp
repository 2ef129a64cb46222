// Linked into the start-up benchmarks: when the application object exists, watches for
// the first paint of a top-level window; once that frame has been drawn and handed to
// the window system, prints how long after TF_BENCH_T0_NS (a CLOCK_MONOTONIC time taken
// by the parent just before it started this process) that was, and quits. It also tells
// when the application object was made, which splits the start-up into loading the
// program with its libraries and platform, and building and painting the window.
#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

long long monotonicNs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

long long startNs() {
    static const long long t0 = [] {
        const char* env = std::getenv("TF_BENCH_T0_NS");
        return env && *env ? std::atoll(env) : monotonicNs();
    }();
    return t0;
}
// Fixes the fallback start time as early as possible (static initialisation).
const long long kStart = startNs();

long long appMadeNs = 0;

class FirstPaint : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!seen_ && event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->isWindow()) {
            seen_ = true;
            const long long painting = monotonicNs() - kStart;
            // The rest of the frame (the children, then the flush to the window system)
            // happens before the event loop takes the next timer.
            QTimer::singleShot(0, qApp, [painting] {
                const long long frame = monotonicNs() - kStart;
                std::printf("first-paint-ns %lld %lld %lld\n", appMadeNs, painting, frame);
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return false;
    }

private:
    bool seen_ = false;
};

void installHook() {
    appMadeNs = monotonicNs() - kStart;
    qApp->installEventFilter(new FirstPaint);
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(installHook)
