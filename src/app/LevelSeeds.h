#pragma once

#include <cstdint>

// The run's own generator, seeded once with the run seed. Before a level is
// built it draws that level's seed and seeds GameRandom with it, so the maze
// and the swarm of every level follow from the run seed and the level's place
// in the run alone, whatever the previous level's swarm drew while it bred.
// std::mt19937 is defined bit for bit by the C++ standard, so the level
// seeds are the same with every library, and so is GameRandom's sequence.
class LevelSeeds {
public:
    static void start(uint32_t runSeed);
    // Draws the next level seed (or takes the one handed to playNext),
    // seeds GameRandom with it and returns it.
    static uint32_t seedNextLevel();
    // The next level is built from `levelSeed` (a maze code's) instead of
    // the run's next draw; the run's sequence is not advanced for it.
    static void playNext(uint32_t levelSeed);
    // The seed of the level built last.
    static uint32_t current();
};
