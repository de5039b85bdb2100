#include <cmath>

#include <gtest/gtest.h>

#include "app/TickClock.h"

namespace {
// A second of frames at each rate runs the second's 60 ticks, never more
// than the frame's due, and carries the rest; a stall runs at most
// maxCatchUp ticks and keeps only the leftover part of one tick.
TEST(TickClock, FramesAdvanceByWholeTicksAndCarryTheRest) {
    constexpr double tick = TickClock::tickSeconds;
    struct Case {
        double frameSeconds;
        int frames;
        int ticks;        // all frames together
        double blend;     // after the last frame
    };
    const Case cases[] = {
        {1.0 / 1000, 1000, 60, 0.0},
        {1.0 / 240, 240, 60, 0.0},
        {1.0 / 144, 144, 60, 0.0},
        {1.0 / 60, 60, 60, 0.0},
        {1.0 / 30, 30, 60, 0.0},
        {1.0 / 144, 1, 0, 60.0 / 144},
        {1.0 / 144, 3, 1, 180.0 / 144 - 1},
        {0.5 + tick / 4, 1, TickClock::maxCatchUp, 0.25},  // a stall: 30 ticks due
        {5.0, 2, 2 * TickClock::maxCatchUp, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.frames << " frames of " << c.frameSeconds << " s");
        TickClock clock;
        int ticks = 0;
        for (int i = 0; i < c.frames; ++i) {
            const int due = clock.advance(c.frameSeconds);
            EXPECT_LE(due, std::min<double>(TickClock::maxCatchUp, std::ceil(c.frameSeconds / tick)));
            ticks += due;
            EXPECT_GE(clock.blend(), 0.0);
            EXPECT_LT(clock.blend(), 1.0);
        }
        // Rounding may leave a whole tick a hair short of due.
        EXPECT_NEAR(ticks + clock.blend(), c.ticks + c.blend, 1e-6);
    }

    TickClock clock;
    EXPECT_EQ(clock.advance(-1.0), 0) << "a clock running backwards runs nothing";
    clock.advance(tick / 2);
    clock.restart();
    EXPECT_EQ(clock.blend(), 0.0);
    EXPECT_EQ(clock.advance(tick * 0.75), 0) << "the time before the restart is gone";
}
}  // namespace
