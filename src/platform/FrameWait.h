#pragma once

#include <cstdint>

// Sleeps until the next frame may begin, waking early when the window has an
// event to deliver, so a slowly redrawn screen still answers input at once.
class FrameWait {
public:
    // `deadline` is a PerformanceCounter value. True when it was reached,
    // false when an event arrived (or was already waiting) first.
    static bool until(int64_t deadline);
};
