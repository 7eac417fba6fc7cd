// The random helper stays in 0..32767 and repeats for a seed.
#include "util/Random.h"

#include <gtest/gtest.h>

#include <vector>

TEST(RandomTest, DrawsStayInRangeAndRepeatForASeed) {
    seedRandom(7);
    std::vector<int> first;
    for (int i = 0; i < 1000; ++i) {
        int d = randDraw();
        ASSERT_GE(d, 0);
        ASSERT_LE(d, kRandMax);
        first.push_back(d);
    }
    seedRandom(7);
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(randDraw(), first[i]);
}
