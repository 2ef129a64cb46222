// On Windows the process's own creation time is the start, and its peak working set the
// peak memory: the parent (under Wine, a Linux process) sees neither.
#include <windows.h>
#include <psapi.h>

#include "process_clock.h"

namespace tf::bench {

namespace {

long long ns(const FILETIME& t) {
    ULARGE_INTEGER v;
    v.LowPart = t.dwLowDateTime;
    v.HighPart = t.dwHighDateTime;
    return static_cast<long long>(v.QuadPart) * 100;  // 100 ns ticks
}

}  // namespace

long long nowNs() {
    FILETIME now;
    GetSystemTimePreciseAsFileTime(&now);
    return ns(now);
}

long long processStartNs() {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return nowNs();
    return ns(created);
}

long long peakMemoryKb() {
    PROCESS_MEMORY_COUNTERS counters{};
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return -1;
    return static_cast<long long>(counters.PeakWorkingSetSize / 1024);
}

}  // namespace tf::bench
