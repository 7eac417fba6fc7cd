// Processor-time helpers: clock() ticks converted to the units the reports use.
#pragma once

#include <ctime>

/// Processor time used so far, in milliseconds.
inline long cpuMillis() { return static_cast<long>(std::clock() * 1000.0 / CLOCKS_PER_SEC); }

/// Processor time used so far, in seconds.
inline double cpuSeconds() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }
