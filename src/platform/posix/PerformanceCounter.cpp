#include "platform/PerformanceCounter.h"

#include <chrono>

int64_t PerformanceCounter::now() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

int64_t PerformanceCounter::frequency() { return 1000000000; }
