#include "app/LevelSeeds.h"

#include <random>

#include "platform/GameRandom.h"

namespace {
std::mt19937& generator() {
    static std::mt19937 runGenerator;
    return runGenerator;
}
bool seedHandedOver = false;
uint32_t currentSeed = 0;
}  // namespace

void LevelSeeds::start(uint32_t runSeed) {
    generator().seed(runSeed);
    seedHandedOver = false;
}

uint32_t LevelSeeds::seedNextLevel() {
    if (!seedHandedOver) {
        currentSeed = static_cast<uint32_t>(generator()());
    }
    seedHandedOver = false;
    GameRandom::seed(currentSeed);
    return currentSeed;
}

void LevelSeeds::playNext(uint32_t levelSeed) {
    currentSeed = levelSeed;
    seedHandedOver = true;
}

uint32_t LevelSeeds::current() { return currentSeed; }
