#pragma once

#include <cstdint>

#include "app/Replay.h"

// Plays a replay in the window: before each frame it hands that frame's
// recorded events to the game's handlers, the frame simulates the recorded
// step, and the state hash after it must match the recording. Frames come
// at the recorded pace, or as fast as they can be drawn; Space pauses,
// Esc leaves. The real pointer is never moved.
class ReplayPlayer {
public:
    ReplayPlayer(const Replay& replay, bool fast);

    // Takes over the GLUT callbacks and the frame loop's hooks; call after
    // the window exists, before the main loop.
    void start();
    // The display callback's work: plays the next frame when it is due.
    void playNextFrame();
    void key(unsigned char key);
    // The step of the frame being played.
    double step() const;
    // Compares the state after the frame being played with the recording;
    // ends the process on a mismatch (exit code 3) or after the last frame.
    void checkFrame(uint64_t stateHash);

    // Exit code when the played state differs from the recorded one.
    static constexpr int divergedExitCode = 3;

private:
    void finish(uint64_t stateHash);
    double clockSeconds() const;

    Replay replay;
    bool fast;
    bool paused = false;
    std::size_t next = 0;  // index of the next frame to play
    double playedSeconds = 0.0;  // recorded steps of the frames played
    double clockStart = 0.0;     // when playing began, moved on by pauses
    double pausedAt = 0.0;
};
