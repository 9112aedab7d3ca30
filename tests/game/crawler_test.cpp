// Crawlers: where they start, how their chain body follows, how low they may sink, and their pause on
// arrival.
#include <gtest/gtest.h>

#include <cmath>

#include "app/random.h"
#include "game/crawler.h"
#include "render/vec3.h"

namespace {
const float kLinks[kCrawlerTrail] = {0.01f, 0.15f, 0.3f, 0.3f, 0.3f, 0.3f};

float linkLength(const Crawler& crawler, int i) {
    const float px = i == 0 ? crawler.x : crawler.trailX[i - 1];
    const float py = i == 0 ? crawler.y : crawler.trailY[i - 1];
    return std::hypot(crawler.trailX[i] - px, crawler.trailY[i] - py);
}
} // namespace

TEST(Crawler, StartsInsideItsDoorHeadingDownIntoTheRoom) {
    seedRandomWith(3);
    for (int i = 0; i < 200; ++i) {
        const Crawler crawler(9999.0f, 4.0f, 7.0f);
        EXPECT_GE(crawler.x, 4.3f);
        EXPECT_LT(crawler.x, 4.7f);
        EXPECT_EQ(crawler.y, 7.5f);
        EXPECT_EQ(crawler.targetY, 5.5f);
        EXPECT_GE(crawler.targetX, 4.3f);
        EXPECT_LT(crawler.targetX, 4.7f);
        EXPECT_LE(crawler.age, 0.0f);
        EXPECT_GT(crawler.age, -3.0f);
        for (int k = 0; k < kCrawlerTrail; ++k) {
            EXPECT_EQ(crawler.trailX[k], crawler.x);
            EXPECT_EQ(crawler.trailY[k], crawler.y);
        }
    }
}

TEST(Crawler, TheBodyKeepsItsLinkLengthsAndNeverSinksBelowTheRoomFloor) {
    seedRandomWith(8);
    float lowest = 100.0f;
    float leftmost = 100.0f;
    float rightmost = -100.0f;
    for (int n = 0; n < 30; ++n) {
        Crawler crawler(0.0f, 4.0f, 11.0f);
        for (int frame = 0; frame < 60 * 40; ++frame) {
            crawler.update(1.0f / 60.0f);
            ASSERT_GE(crawler.y, 11.0f - 2.8f);
            float body = 0.0f;
            for (int i = 0; i < kCrawlerTrail; ++i) {
                const float link = linkLength(crawler, i);
                ASSERT_LE(link, kLinks[i] + 1e-5f) << i;
                body += link;
            }
            ASSERT_LE(body, 1.36f + 1e-4f);
            lowest = std::min(lowest, crawler.y);
            leftmost = std::min(leftmost, crawler.targetX);
            rightmost = std::max(rightmost, crawler.targetX);
        }
    }
    EXPECT_LT(lowest, 11.0f - 2.7f) << "the swarm does press against the floor";
    // Roaming crawlers draw targets from the wide area, which reaches past the walls.
    EXPECT_LT(leftmost, 1.0f);
    EXPECT_GT(rightmost, 12.0f);
    EXPECT_GE(leftmost, -0.5f);
    EXPECT_LE(rightmost, 14.5f);
}

TEST(Crawler, HomebodiesKeepToTheNarrowAreaOfTheirRoom) {
    seedRandomWith(12);
    Crawler crawler(9999.0f, 4.0f, 3.0f);
    for (int frame = 0; frame < 60 * 120; ++frame) {
        crawler.update(1.0f / 60.0f);
        ASSERT_GE(crawler.targetX, 4.0f - 1.25f);
        ASSERT_LE(crawler.targetX, 4.0f + 7.25f);
        ASSERT_GE(crawler.targetY, 1.5f);
        ASSERT_LE(crawler.targetY, 3.5f);
    }
}

TEST(Crawler, ItPausesForOneFrameOnArrivalAndItsTrailStillContractsWithoutTime) {
    seedRandomWith(5);
    Crawler crawler(9999.0f, 4.0f, 3.0f);
    crawler.targetX = crawler.x + 0.3f;
    crawler.targetY = crawler.y;
    const float x = crawler.x;
    const float y = crawler.y;
    crawler.update(1.0f / 60.0f);
    EXPECT_EQ(crawler.x, x);
    EXPECT_EQ(crawler.y, y);
    EXPECT_NE(crawler.targetX, x + 0.3f) << "a new target was drawn";
    crawler.update(1.0f / 60.0f);
    EXPECT_TRUE(crawler.x != x || crawler.y != y) << "and it swims on in the next frame";

    // With no time passing the head stays while the chain pulls itself to its link lengths.
    for (int i = 0; i < kCrawlerTrail; ++i) {
        crawler.trailX[i] = crawler.x - 2.0f * (i + 1);
        crawler.trailY[i] = crawler.y;
    }
    const float headX = crawler.x;
    const float age = crawler.age;
    crawler.update(0.0f);
    EXPECT_EQ(crawler.x, headX);
    EXPECT_EQ(crawler.age, age);
    for (int i = 0; i < kCrawlerTrail; ++i) {
        EXPECT_NEAR(linkLength(crawler, i), kLinks[i], 1e-5f) << i;
    }
}

TEST(Crawler, ItSwimsAtThreeQuartersOfACellPerSecondWithItsHeadingTurnedCounterClockwiseByItsAge) {
    seedRandomWith(2);
    for (float age : {0.0f, 0.4f, 1.0f, 2.2f, 3.9f}) {
        Crawler crawler(9999.0f, 4.0f, 7.0f);
        crawler.x = 5.0f;
        crawler.y = 6.0f;
        crawler.targetX = 8.0f;
        crawler.targetY = 2.0f;
        crawler.age = age;
        const float dt = 0.1f;
        crawler.update(dt);
        Vec3 expected(0.6f, -0.8f, 0.0f);
        expected.rotate(0.0f, 0.0f, std::sin(2.0f * age));
        expected.scale(0.75f * dt);
        EXPECT_NEAR(crawler.x, 5.0f + expected.x, 1e-6f) << age;
        EXPECT_NEAR(crawler.y, 6.0f + expected.y, 1e-6f) << age;
        EXPECT_FLOAT_EQ(crawler.age, age + dt);
    }
}
