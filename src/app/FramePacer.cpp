#include "app/FramePacer.h"

#include <algorithm>

FramePacer::FramePacer(int64_t countsPerSecond) : frequency(countsPerSecond) {}

void FramePacer::setMaxFps(int fps) { capPeriod = fps > 0 ? frequency / fps : 0; }

void FramePacer::setUnpaced(bool value) { unpaced = value; }

void FramePacer::frameBegun(int64_t now) {
    frameStart = now;
    // A frame that began within a period of its deadline keeps the cadence;
    // after a longer gap (a slow frame, a still screen) it starts anew.
    capDeadline += capPeriod;
    if (capDeadline <= now) {
        capDeadline = now + capPeriod;
    }
}

void FramePacer::inputArrived(int64_t now) {
    livelyUntil = now + static_cast<int64_t>(livelySeconds * static_cast<double>(frequency));
}

int64_t FramePacer::nextFrame(int64_t now, bool stillScreen) const {
    if (unpaced) {
        return now;
    }
    if (stillScreen && now >= livelyUntil) {
        return std::max(capDeadline, frameStart + frequency / stillFps);
    }
    return capDeadline;
}
