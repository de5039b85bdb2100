#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "harness/FrameStats.h"

TEST(FrameStats, PercentilesUseTheNearestRank) {
    std::vector<double> values;
    for (int i = 100; i >= 1; --i) {
        values.push_back(i);
    }
    EXPECT_DOUBLE_EQ(FrameStats::percentile(values, 50.0), 50.0);
    EXPECT_DOUBLE_EQ(FrameStats::percentile(values, 99.0), 99.0);
    EXPECT_DOUBLE_EQ(FrameStats::percentile(values, 100.0), 100.0);
    EXPECT_DOUBLE_EQ(FrameStats::percentile({7.0}, 99.0), 7.0);
    EXPECT_DOUBLE_EQ(FrameStats::percentile({}, 50.0), 0.0);
    EXPECT_DOUBLE_EQ(FrameStats::percentile({1.0, 2.0, 3.0}, 0.1), 1.0);
}

TEST(FrameStats, SummaryLeavesTheStartUpFrameOutOfTheFrameTimes) {
    FrameStats stats;
    stats.record(5.0, 6, 0.001, 0.002);  // the first frame carries start-up
    for (int i = 0; i < 99; ++i) {
        stats.record(0.010, i % 2, 0.001, 0.004);
    }
    stats.record(0.020, 2, 0.003, 0.016);
    const FrameStats::Summary s = stats.summarise();
    EXPECT_EQ(s.frames, 101);
    EXPECT_NEAR(s.meanFps, 100.0 / 1.01, 1e-9);
    EXPECT_NEAR(s.tickRate, 51.0 / 1.01, 1e-9) << "ticks per second of real time, start-up left out";
    EXPECT_NEAR(s.medianFrameMs, 10.0, 1e-9);
    EXPECT_NEAR(s.p99FrameMs, 10.0, 1e-9);
    EXPECT_NEAR(s.meanSimulationMs, (100 * 0.001 + 0.003) / 101 * 1000.0, 1e-9);
    EXPECT_NEAR(s.p99RenderMs, 4.0, 1e-9);

    const std::string report = stats.report(3, 1);
    for (const char* line : {"frames: 101\n", "levels won: 3\n", "levels lost: 1\n", "mean fps: 99.0\n", "tick rate: 50.5\n",
                             "frame ms: median 10.000, p99 10.000\n", "update+collision ms: mean ",
                             "render ms: mean "}) {
        EXPECT_NE(report.find(line), std::string::npos) << line << " in\n" << report;
    }

    const FrameStats::Summary empty = FrameStats().summarise();
    EXPECT_EQ(empty.frames, 0);
    EXPECT_EQ(empty.meanFps, 0.0) << "no division by an empty run";
}
