#include "app/LevelSeeds.h"

#include <random>

#include "platform/GameRandom.h"

namespace {
std::mt19937& generator() {
    static std::mt19937 runGenerator;
    return runGenerator;
}
}  // namespace

void LevelSeeds::start(uint32_t runSeed) { generator().seed(runSeed); }

uint32_t LevelSeeds::seedNextLevel() {
    const uint32_t seed = static_cast<uint32_t>(generator()());
    GameRandom::seed(seed);
    return seed;
}
