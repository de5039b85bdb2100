#include <cstdint>
#include <cstdlib>

#include <gtest/gtest.h>

#include "platform/GameRandom.h"

// Replays recorded before the game had its own generator, and the win rates
// measured over seeds, were made with glibc's rand(): the same seeds must
// still build the same mazes and swarms. Elsewhere rand() is another
// generator, and GameRandom gives every system glibc's sequence.
TEST(GameRandom, GivesGlibcRandSequence) {
    GameRandom::seed(1);
    for (int glibcDraw : {1804289383, 846930886, 1681692777, 1714636915, 1957747793}) {
        EXPECT_EQ(GameRandom::next(), glibcDraw);
    }
#ifdef __GLIBC__
    for (uint32_t seed : {0u, 1u, 6u, 77u, 2147483647u, 2147483648u, 4294967295u}) {
        std::srand(seed);
        GameRandom::seed(seed);
        for (int i = 0; i < 1000; ++i) {
            ASSERT_EQ(GameRandom::next(), std::rand()) << "seed " << seed << " draw " << i;
        }
    }
#endif
}
