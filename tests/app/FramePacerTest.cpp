#include <gtest/gtest.h>

#include "app/FramePacer.h"

// A clock of 1200 counts per second: 240 fps is 5 counts a frame, a still
// screen's 20 fps 60 counts, the second of full rate after input 1200.
TEST(FramePacerTest, CapsStillScreensAndAnswersInput) {
    FramePacer pacer(1200);
    pacer.setMaxFps(240);
    pacer.frameBegun(1000);
    EXPECT_EQ(pacer.nextFrame(1001, false), 1005);
    pacer.frameBegun(1007);  // woke late: the cadence holds, the average stays 240
    EXPECT_EQ(pacer.nextFrame(1008, false), 1010);
    pacer.frameBegun(1030);  // a slow frame: no burst to catch up
    EXPECT_EQ(pacer.nextFrame(1031, false), 1035);

    EXPECT_EQ(pacer.nextFrame(1031, true), 1090) << "a still screen: 20 fps";
    pacer.inputArrived(1040);
    EXPECT_EQ(pacer.nextFrame(1040, true), 1035) << "input: drawn at once";
    EXPECT_EQ(pacer.nextFrame(2239, true), 1035) << "and at the cap for a second";
    EXPECT_EQ(pacer.nextFrame(2240, true), 1090);

    pacer.setMaxFps(0);
    pacer.frameBegun(3000);
    EXPECT_EQ(pacer.nextFrame(3000, false), 3000) << "no cap";
    EXPECT_EQ(pacer.nextFrame(3000, true), 3060) << "still screens are paced without a cap too";
    pacer.setUnpaced(true);
    EXPECT_EQ(pacer.nextFrame(3000, true), 3000);
}
