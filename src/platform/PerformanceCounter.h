#pragma once

#include <cstdint>

// High-resolution monotonic counter used for frame timing and the random seed.
class PerformanceCounter {
public:
    static int64_t now();
    // Counts per second of now().
    static int64_t frequency();
};
