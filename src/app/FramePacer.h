#pragma once

#include <cstdint>

// When the next frame may begin, in performance-counter counts. Frames are
// held to the max_fps cap by absolute deadlines, one period apart, so the
// cap holds on average whatever the wake-up latency. A still screen (a menu,
// the paused game, a won or lost picture) is redrawn at stillFps only, unless
// input arrived within the last second: menu fades then play at full rate.
// The clock is handed in, so the arithmetic runs without waiting.
class FramePacer {
public:
    // Frames a still screen draws per second: a frame of it is at most
    // 1/stillFps s long, which stays within the time the world catches up
    // in one frame.
    static constexpr int stillFps = 20;
    static constexpr double livelySeconds = 1.0;

    explicit FramePacer(int64_t countsPerSecond);

    // 0 lifts the cap (still screens are paced all the same).
    void setMaxFps(int fps);
    // A benchmark measures drawing: no cap and no still-screen pacing.
    void setUnpaced(bool unpaced);

    // The frame that begins now.
    void frameBegun(int64_t now);
    // An input or window event: a still screen is drawn again by the cap.
    void inputArrived(int64_t now);
    // The counter value at which the next frame may begin; a value not
    // after now means at once.
    int64_t nextFrame(int64_t now, bool stillScreen) const;

private:
    int64_t frequency;
    int64_t capPeriod = 0;  // 0: no cap
    bool unpaced = false;
    int64_t frameStart = 0;
    int64_t capDeadline = 0;
    int64_t livelyUntil = 0;
};
