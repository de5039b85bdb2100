#pragma once

#include <cstdint>

// The random numbers of the simulation: the maze, the wall heights and the
// swarm draw from this generator and nothing else does. The C library's
// rand() is shared with every library in the process (PulseAudio's client,
// for one, draws from it while OpenAL Soft looks for a sound server, and how
// often depends on the player's folders), so a level built from rand() could
// differ between a game and its replay. The sequence is the one glibc's
// rand() gives for a seed (an additive feedback generator,
// r[i] = r[i-3] + r[i-31]), so a seed builds the maze glibc's rand() would
// build, and the same one on every system.
class GameRandom {
public:
    static constexpr int maxValue = 2147483647;
    static void seed(uint32_t seed);
    // 0..maxValue.
    static int next();
};
