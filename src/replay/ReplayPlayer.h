#pragma once

#include <cstddef>
#include <cstdint>

#include "replay/Replay.h"

// Plays a replay in the window: before each tick it hands that tick's
// recorded events to the game's handlers, and the state hash after the tick
// must match the recording. Ticks come at the game's own rate of 60 a
// second, or one per drawn frame as fast as frames can be drawn; Space
// pauses, Esc leaves. The real pointer is never moved. The entry gives it
// the window's display and keyboard callbacks and the frame hooks, and acts
// on what it reports.
class ReplayPlayer {
public:
    // What a step of the playback came to.
    struct Report {
        enum class Outcome {
            Playing,
            Finished,  // every tick matched and so did the final state
            Diverged,  // the state after `tick` (from 1) differs from the recording
            Left,      // Esc after `tick` ticks
        };
        Outcome outcome = Outcome::Playing;
        std::size_t tick = 0;
        uint64_t state = 0;  // Finished: the final state hash
    };

    ReplayPlayer(const Replay& replay, bool fast);

    // Stops the pointer warping and starts the tick clock (one tick per frame
    // when fast); call after the window exists, before the main loop.
    void start();
    // The display callback's work: draws the next frame, which runs the
    // ticks that are due.
    Report playNextFrame();
    Report key(unsigned char key);
    // Hands the recorded events of the tick about to run to the handlers.
    void deliverTickInput();
    // Compares the state after the tick just run with the recording.
    Report checkTick(uint64_t stateHash);
    std::size_t tickCount() const { return replay.ticks.size(); }

    // Exit code when the played state differs from the recorded one.
    static constexpr int divergedExitCode = 3;

private:
    Report finish(uint64_t stateHash) const;

    Replay replay;
    bool fast;
    bool paused = false;
    std::size_t next = 0;  // index of the next tick to play
};
