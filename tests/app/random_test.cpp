#include <gtest/gtest.h>

#include "app/random.h"

TEST(RandomUnit, StaysBelowOneAndReplaysFromASeed) {
    seedRandomWith(7);
    std::vector<float> first;
    for (int i = 0; i < 100000; ++i) {
        const float r = randomUnit();
        ASSERT_GE(r, 0.0f);
        ASSERT_LT(r, 1.0f);
        if (i < 16) {
            first.push_back(r);
        }
    }
    seedRandomWith(7);
    for (float expected : first) {
        EXPECT_EQ(randomUnit(), expected);
    }
}

TEST(WrapPositive, FoldsNegativesUpAndKeepsExactMultiplesAtTheDivisor) {
    EXPECT_FLOAT_EQ(wrapPositive(-0.5f, 2.0f), 1.5f);
    EXPECT_FLOAT_EQ(wrapPositive(-2.0f, 2.0f), 2.0f);
    EXPECT_FLOAT_EQ(wrapPositive(5.0f, 2.0f), 1.0f);
    EXPECT_FLOAT_EQ(wrapPositive(0.0f, 2.0f), 0.0f);
    EXPECT_FLOAT_EQ(wrapPositive(-7.0f, 2.0f), 1.0f);
}
