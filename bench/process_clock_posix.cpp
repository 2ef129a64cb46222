// On Linux the parent takes CLOCK_MONOTONIC just before it starts the program and passes
// it as TF_BENCH_T0_NS; it reads the peak memory from wait4().
#include <cstdlib>
#include <ctime>

#include "process_clock.h"

namespace tf::bench {

long long nowNs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

long long processStartNs() {
    const char* env = std::getenv("TF_BENCH_T0_NS");
    return env && *env ? std::atoll(env) : nowNs();
}

long long peakMemoryKb() { return -1; }

}  // namespace tf::bench
