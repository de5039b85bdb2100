#include "replay/ReplayPlayer.h"

#include <chrono>
#include <thread>

#include "app/FrameLoop.h"
#include "app/Globals.h"
#include "app/Input.h"
#include "platform/KeyCodes.h"
#include "replay/StateHash.h"

ReplayPlayer::ReplayPlayer(const Replay& replay_, bool fast_) : replay(replay_), fast(fast_) {}

void ReplayPlayer::start() {
    setPointerWarping(false);
    oneTickPerFrame = fast;
    restartTickClock();
}

ReplayPlayer::Report ReplayPlayer::playNextFrame() {
    if (paused) {
        renderer.renderScene(&sceneGraphNode);
        std::this_thread::sleep_for(std::chrono::milliseconds(15));
        return Report();
    }
    if (next >= replay.ticks.size()) {
        return finish(StateHash().value());
    }
    display();
    return Report();
}

void ReplayPlayer::deliverTickInput() {
    const Replay::Tick& tick = replay.ticks[next];
    for (uint32_t i = 0; i < tick.eventCount; ++i) {
        deliverInput(replay.events[tick.firstEvent + i]);
    }
}

ReplayPlayer::Report ReplayPlayer::checkTick(uint64_t stateHash) {
    if (static_cast<uint32_t>(stateHash) != replay.ticks[next].check) {
        return Report{Report::Outcome::Diverged, next + 1, stateHash};
    }
    ++next;
    if (next == replay.ticks.size()) {
        return finish(stateHash);
    }
    return Report();
}

ReplayPlayer::Report ReplayPlayer::finish(uint64_t stateHash) const {
    if (stateHash != replay.finalHash) {
        return Report{Report::Outcome::Diverged, replay.ticks.size(), stateHash};
    }
    return Report{Report::Outcome::Finished, replay.ticks.size(), stateHash};
}

ReplayPlayer::Report ReplayPlayer::key(unsigned char key) {
    if (key == keyEsc) {
        return Report{Report::Outcome::Left, next, 0};
    }
    if (key == keySpace) {
        paused = !paused;
        // The time spent paused is not caught up.
        if (!paused) {
            restartTickClock();
        }
    }
    return Report();
}
