// Processor-time helpers: clock() ticks converted to the units the reports use.
#pragma once

#include <chrono>
#include <ctime>

/// Processor time used so far, in milliseconds.
inline long cpuMillis() {
    return static_cast<long>(std::clock() * 1000.0 / CLOCKS_PER_SEC);
}

/// Processor time used so far, in seconds.
inline double cpuSeconds() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

/// Milliseconds on a monotonic clock, with fractions. For timing operations that run many
/// thousand times per second: reading the processor clock is a system call that would cost
/// more than the operation timed, and its millisecond steps would round each one to 0.
inline double steadyMillis() {
    return std::chrono::duration<double, std::milli>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}
