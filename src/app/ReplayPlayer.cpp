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
#include "platform/PerformanceCounter.h"

namespace {
ReplayPlayer* active = nullptr;

void onDisplay() { active->playNextFrame(); }
void onKey(unsigned char key, int, int) { active->key(key); }
double recordedStep(double) { return active->step(); }
}  // namespace

ReplayPlayer::ReplayPlayer(const Replay& replay_, bool fast_) : replay(replay_), fast(fast_) {}

double ReplayPlayer::clockSeconds() const {
    return static_cast<double>(PerformanceCounter::now()) / static_cast<double>(counterFrequency);
}

void ReplayPlayer::start() {
    active = this;
    setPointerWarping(false);
    stepSource = recordedStep;
    // The person watching steers nothing: only the keys above reach the
    // player, and the window's size stays the recorded one for the handlers.
    glutDisplayFunc(onDisplay);
    glutKeyboardFunc(onKey);
    glutReshapeFunc(reshapeView);
    glutPassiveMotionFunc(nullptr);
    glutMouseFunc(nullptr);
    glutSpecialFunc(nullptr);
    // Recorded focus losses are replayed; the watcher's own would diverge.
    glutWindowStatusFunc(nullptr);
    glutEntryFunc(nullptr);
    clockStart = clockSeconds();
}

void ReplayPlayer::playNextFrame() {
    if (paused) {
        renderer.renderScene(&sceneGraphNode);
        std::this_thread::sleep_for(std::chrono::milliseconds(15));
        return;
    }
    if (next >= replay.frames.size()) {
        finish(StateHash().value());
        return;
    }
    if (!fast) {
        const double early = playedSeconds - (clockSeconds() - clockStart);
        if (early > 0.0) {
            std::this_thread::sleep_for(std::chrono::duration<double>(early));
        }
    }
    const Replay::Frame& frame = replay.frames[next];
    for (uint32_t i = 0; i < frame.eventCount; ++i) {
        deliverInput(replay.events[frame.firstEvent + i]);
    }
    display();
}

double ReplayPlayer::step() const { return next < replay.frames.size() ? replay.frames[next].step : 0.0; }

void ReplayPlayer::checkFrame(uint64_t stateHash) {
    const Replay::Frame& frame = replay.frames[next];
    if (static_cast<uint32_t>(stateHash) != frame.check) {
        fprintf(stderr, "replay diverged at frame %zu\n", next + 1);
        endProcess(divergedExitCode);
    }
    playedSeconds += frame.step;
    ++next;
    if (next == replay.frames.size()) {
        finish(stateHash);
    }
}

void ReplayPlayer::finish(uint64_t stateHash) {
    if (stateHash != replay.finalHash) {
        fprintf(stderr, "replay diverged at frame %zu\n", replay.frames.size());
        endProcess(divergedExitCode);
    }
    printf("replay ok: frames %zu, state %s\n", replay.frames.size(), StateHash::text(stateHash).c_str());
    endProcess(0);
}

void ReplayPlayer::key(unsigned char key) {
    if (key == keyEsc) {
        printf("replay left at frame %zu of %zu\n", next, replay.frames.size());
        endProcess(0);
    }
    if (key == keySpace) {
        paused = !paused;
        if (paused) {
            pausedAt = clockSeconds();
        } else {
            clockStart += clockSeconds() - pausedAt;
        }
    }
}
