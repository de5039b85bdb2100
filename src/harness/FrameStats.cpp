#include "harness/FrameStats.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>

namespace {
double mean(const std::vector<double>& values) {
    return values.empty() ? 0.0 : std::accumulate(values.begin(), values.end(), 0.0) / values.size();
}
}  // namespace

void FrameStats::record(double frameSeconds, int ticks, double simulationSeconds, double renderSeconds) {
    if (count > 0) {
        frameTimes.push_back(frameSeconds);
        ticksCounted += ticks;
    }
    ++count;
    simulationTimes.push_back(simulationSeconds);
    renderTimes.push_back(renderSeconds);
}

double FrameStats::percentile(std::vector<double> values, double q) {
    if (values.empty()) {
        return 0.0;
    }
    const double rank = std::ceil(q / 100.0 * static_cast<double>(values.size()));
    const size_t index = static_cast<size_t>(std::clamp(rank, 1.0, static_cast<double>(values.size()))) - 1;
    std::nth_element(values.begin(), values.begin() + static_cast<long>(index), values.end());
    return values[index];
}

FrameStats::Summary FrameStats::summarise() const {
    Summary s;
    s.frames = count;
    const double total = std::accumulate(frameTimes.begin(), frameTimes.end(), 0.0);
    s.meanFps = total > 0.0 ? static_cast<double>(frameTimes.size()) / total : 0.0;
    s.tickRate = total > 0.0 ? static_cast<double>(ticksCounted) / total : 0.0;
    s.medianFrameMs = 1000.0 * percentile(frameTimes, 50.0);
    s.p99FrameMs = 1000.0 * percentile(frameTimes, 99.0);
    s.meanSimulationMs = 1000.0 * mean(simulationTimes);
    s.p99SimulationMs = 1000.0 * percentile(simulationTimes, 99.0);
    s.meanRenderMs = 1000.0 * mean(renderTimes);
    s.p99RenderMs = 1000.0 * percentile(renderTimes, 99.0);
    return s;
}

std::string FrameStats::report(int levelsWon, int levelsLost) const {
    const Summary s = summarise();
    char text[512];
    snprintf(text, sizeof text,
             "benchmark\n"
             "frames: %ld\n"
             "levels won: %d\n"
             "levels lost: %d\n"
             "mean fps: %.1f\n"
             "tick rate: %.1f\n"
             "frame ms: median %.3f, p99 %.3f\n"
             "update+collision ms: mean %.3f, p99 %.3f\n"
             "render ms: mean %.3f, p99 %.3f\n",
             s.frames, levelsWon, levelsLost, s.meanFps, s.tickRate, s.medianFrameMs, s.p99FrameMs, s.meanSimulationMs,
             s.p99SimulationMs, s.meanRenderMs, s.p99RenderMs);
    return text;
}
