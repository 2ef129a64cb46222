// Linked into the start-up benchmarks: when the application object exists, watches for
// the first paint of a top-level window; once that frame has been drawn and handed to
// the window system, prints how long after the start of the process that was, and quits.
// It also tells when the application object was made, which splits the start-up into
// loading the program with its libraries and platform, and building and painting the
// window. Where the process started, and its peak memory where the parent cannot see it,
// come from process_clock_<platform>.cpp.
#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <cstdio>

#include "process_clock.h"

namespace {

// Fixes the start time as early as possible (static initialisation).
const long long kStart = tf::bench::processStartNs();

long long appMadeNs = 0;

class FirstPaint : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!seen_ && event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->isWindow()) {
            seen_ = true;
            const long long painting = tf::bench::nowNs() - kStart;
            // The rest of the frame (the children, then the flush to the window system)
            // happens before the event loop takes the next timer.
            QTimer::singleShot(0, qApp, [painting] {
                const long long frame = tf::bench::nowNs() - kStart;
                std::printf("first-paint-ns %lld %lld %lld %lld\n", appMadeNs, painting, frame,
                            tf::bench::peakMemoryKb());
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
    appMadeNs = tf::bench::nowNs() - kStart;
    qApp->installEventFilter(new FirstPaint);
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(installHook)
