#pragma once

#include <string>
#include <vector>

// Timings of a measured run, one sample per frame, and the summary printed at
// its end. Times are in seconds as recorded and in milliseconds as reported.
class FrameStats {
public:
    struct Summary {
        long frames = 0;
        double meanFps = 0.0;
        double tickRate = 0.0;  // ticks of game time per second of real time
        double medianFrameMs = 0.0;
        double p99FrameMs = 0.0;
        double meanSimulationMs = 0.0;
        double p99SimulationMs = 0.0;
        double meanRenderMs = 0.0;
        double p99RenderMs = 0.0;
    };

    // frameSeconds is the time since the previous frame began, ticks the
    // ticks that frame ran; the first frame's (which includes start-up) are
    // left out of the frame times and the tick rate.
    void record(double frameSeconds, int ticks, double simulationSeconds, double renderSeconds);
    Summary summarise() const;
    // The block printed at the end of a benchmark run.
    std::string report(int levelsWon, int levelsLost) const;

    // Nearest-rank percentile (0 < q <= 100) of the values; 0 for none.
    static double percentile(std::vector<double> values, double q);

private:
    long count = 0;
    long ticksCounted = 0;
    std::vector<double> frameTimes;
    std::vector<double> simulationTimes;
    std::vector<double> renderTimes;
};
