// The game's pseudo-random generator.
#include <gtest/gtest.h>

#include "core/random.h"

TEST(Random15, FollowsTheLinearCongruentialStep) {
    seedRandom(0);
    // x = 0 * 214013 + 2531011 = 2531011; (x >> 16) & 0x7FFF = 38
    EXPECT_EQ(random15(), 38);
    // x = 2531011 * 214013 + 2531011 mod 2^32 = 505908858; >> 16 = 7719
    EXPECT_EQ(random15(), 7719);
}

TEST(Random15, SameSeedSameSequence) {
    seedRandom(1765100000u);
    int first[20];
    for (int& v : first) v = random15();
    seedRandom(1765100000u);
    for (int v : first) EXPECT_EQ(random15(), v);
}

TEST(Random15, StaysInFifteenBits) {
    seedRandom(12345u);
    int low = 32767, high = 0;
    for (int i = 0; i < 100000; ++i) {
        const int v = random15();
        low = std::min(low, v);
        high = std::max(high, v);
    }
    EXPECT_GE(low, 0);
    EXPECT_LE(high, 32767);
    EXPECT_GT(high, 32000);  // the whole range is used
    EXPECT_LT(low, 700);
}
