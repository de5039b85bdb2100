#include "app/ReplayPlayer.h"

#include <chrono>
#include <cstdio>
#include <thread>

#include <GL/glew.h>
#include <GL/freeglut.h>

#include "app/FrameLoop.h"
#include "app/Globals.h"
#include "app/Input.h"
#include "app/ProcessEnd.h"
#include "app/StateHash.h"
#include "platform/KeyCodes.h"

namespace {
ReplayPlayer* active = nullptr;

void onDisplay() { active->playNextFrame(); }
void onKey(unsigned char key, int, int) { active->key(key); }
void onTick() { active->deliverTickInput(); }
}  // namespace

ReplayPlayer::ReplayPlayer(const Replay& replay_, bool fast_) : replay(replay_), fast(fast_) {}

void ReplayPlayer::start() {
    active = this;
    setPointerWarping(false);
    oneTickPerFrame = fast;
    beforeTick = onTick;
    // The person watching steers nothing: only the keys above reach the
    // player, and the window's size stays the recorded one for the handlers.
    glutDisplayFunc(onDisplay);
    glutKeyboardFunc(onKey);
    glutReshapeFunc(reshapeView);
    glutPassiveMotionFunc(nullptr);
    glutMouseFunc(nullptr);
    glutSpecialFunc(nullptr);
    glutKeyboardUpFunc(nullptr);
    glutSpecialUpFunc(nullptr);
    // Recorded focus losses are replayed; the watcher's own would diverge.
    glutWindowStatusFunc(nullptr);
    glutEntryFunc(nullptr);
    restartTickClock();
}

void ReplayPlayer::playNextFrame() {
    if (paused) {
        renderer.renderScene(&sceneGraphNode);
        std::this_thread::sleep_for(std::chrono::milliseconds(15));
        return;
    }
    if (next >= replay.ticks.size()) {
        finish(StateHash().value());
        return;
    }
    display();
}

void ReplayPlayer::deliverTickInput() {
    const Replay::Tick& tick = replay.ticks[next];
    for (uint32_t i = 0; i < tick.eventCount; ++i) {
        deliverInput(replay.events[tick.firstEvent + i]);
    }
}

void ReplayPlayer::checkTick(uint64_t stateHash) {
    if (static_cast<uint32_t>(stateHash) != replay.ticks[next].check) {
        fprintf(stderr, "replay diverged at tick %zu\n", next + 1);
        endProcess(divergedExitCode);
    }
    ++next;
    if (next == replay.ticks.size()) {
        finish(stateHash);
    }
}

void ReplayPlayer::finish(uint64_t stateHash) {
    if (stateHash != replay.finalHash) {
        fprintf(stderr, "replay diverged at tick %zu\n", replay.ticks.size());
        endProcess(divergedExitCode);
    }
    printf("replay ok: ticks %zu, state %s\n", replay.ticks.size(), StateHash::text(stateHash).c_str());
    endProcess(0);
}

void ReplayPlayer::key(unsigned char key) {
    if (key == keyEsc) {
        printf("replay left at tick %zu of %zu\n", next, replay.ticks.size());
        endProcess(0);
    }
    if (key == keySpace) {
        paused = !paused;
        // The time spent paused is not caught up.
        if (!paused) {
            restartTickClock();
        }
    }
}
