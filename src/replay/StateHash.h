#pragma once

#include <cstdint>
#include <string>

class SgParticleController;
class SgPlayer;

// A 64-bit FNV-1a hash of the game state folded over every frame: the ball's
// position and velocity, its health, the level number, the swarm's size and
// every enemy's position, each float by its exact bit pattern. Two runs with
// the same hash moved the same world through the same frames.
class StateHash {
public:
    // Adds one frame's state; the swarm may be null (no enemies).
    void fold(const SgPlayer& ball, int level, const SgParticleController* swarm);
    uint64_t value() const { return hash; }
    // 16 lower-case hex digits.
    static std::string text(uint64_t value);

private:
    void addWord(uint32_t word);
    void addFloat(float value);

    uint64_t hash = 14695981039346656037ull;
};
