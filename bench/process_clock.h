#pragma once
// The clock of the start-up benchmarks, one file per platform.
namespace tf::bench {

// Now, and the moment the process was started, on one clock in nanoseconds.
long long nowNs();
long long processStartNs();
// The process's peak memory in KB so far, or -1 where the parent measures it itself.
long long peakMemoryKb();

}  // namespace tf::bench
