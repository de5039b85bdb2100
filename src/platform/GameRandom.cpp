#include "platform/GameRandom.h"

namespace {
constexpr int degree = 31;     // words of state
constexpr int separation = 3;  // r[i] = r[i - separation] + r[i - degree]
uint32_t state[degree];
int front = separation;
int rear = 0;
}  // namespace

void GameRandom::seed(uint32_t seed) {
    // Zero would leave the whole state zero.
    if (seed == 0) {
        seed = 1;
    }
    state[0] = seed;
    // state[i] = 16807 * state[i - 1] mod (2^31 - 1), in Schrage's form so no
    // product leaves 32 bits; the seed counts as a signed 32-bit word.
    int32_t word = static_cast<int32_t>(seed);
    for (int i = 1; i < degree; ++i) {
        const int32_t high = word / 127773;
        const int32_t low = word % 127773;
        word = 16807 * low - 2836 * high;
        if (word < 0) {
            word += 2147483647;
        }
        state[i] = static_cast<uint32_t>(word);
    }
    front = separation;
    rear = 0;
    // The first ten rounds of the state are too close to the seed.
    for (int i = 0; i < 10 * degree; ++i) {
        next();
    }
}

int GameRandom::next() {
    state[front] += state[rear];
    // The lowest bit is the least random.
    const int value = static_cast<int>(state[front] >> 1);
    front = front + 1 < degree ? front + 1 : 0;
    rear = rear + 1 < degree ? rear + 1 : 0;
    return value;
}
