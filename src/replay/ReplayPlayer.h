#pragma once

#include <cstdint>

#include "replay/Replay.h"

// Plays a replay in the window: before each tick it hands that tick's
// recorded events to the game's handlers, and the state hash after the tick
// must match the recording. Ticks come at the game's own rate of 60 a
// second, or one per drawn frame as fast as frames can be drawn; Space
// pauses, Esc leaves. The real pointer is never moved.
class ReplayPlayer {
public:
    ReplayPlayer(const Replay& replay, bool fast);

    // Takes over the GLUT callbacks and the frame loop's hooks; call after
    // the window exists, before the main loop.
    void start();
    // The display callback's work: draws the next frame, which runs the
    // ticks that are due.
    void playNextFrame();
    void key(unsigned char key);
    // Hands the recorded events of the tick about to run to the handlers.
    void deliverTickInput();
    // Compares the state after the tick just run with the recording; ends
    // the process on a mismatch (exit code 3) or after the last tick.
    void checkTick(uint64_t stateHash);

    // Exit code when the played state differs from the recorded one.
    static constexpr int divergedExitCode = 3;

private:
    void finish(uint64_t stateHash);

    Replay replay;
    bool fast;
    bool paused = false;
    std::size_t next = 0;  // index of the next tick to play
};
