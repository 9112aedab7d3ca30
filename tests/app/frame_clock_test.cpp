#include <gtest/gtest.h>

#include <vector>

#include "app/frame_clock.h"

namespace {
// A hand-driven millisecond clock: sleeping moves it on by exactly the time asked for, and a test adds
// the time its own "work" takes.
struct FakeTime {
    uint32_t now = 0;
    std::vector<uint32_t> sleeps;

    FrameClock clock() {
        return FrameClock([this] { return now; },
                          [this](uint32_t ms) {
                              sleeps.push_back(ms);
                              now += ms;
                          });
    }
    // A clock whose last pass was at lastTicks, read for the first time at the given time.
    FrameClock clockAt(uint32_t lastTicks, uint32_t time) {
        FrameClock result = clock();
        result.lastTicks = lastTicks;
        now = time;
        return result;
    }
};
} // namespace

TEST(FrameClock, SleepsAwayTheRestOfTheFrame) {
    FakeTime time;
    FrameClock clock = time.clockAt(1000, 1004);
    // 1000/60 - 4 = 12.67, truncated.
    EXPECT_NEAR(clock.waitFrame(), 0.016f, 1e-6f);
    EXPECT_EQ(time.sleeps, std::vector<uint32_t>{12});
    EXPECT_EQ(clock.lastTicks, 1016u);

    // At 24 frames per second a pass with no work sleeps 41 ms.
    clock.targetFps = 24.0f;
    time.sleeps.clear();
    EXPECT_NEAR(clock.waitFrame(), 0.041f, 1e-6f);
    EXPECT_EQ(time.sleeps, std::vector<uint32_t>{41});
}

TEST(FrameClock, ALongPassSleepsNotAtAllAndStepsByItsLength) {
    FakeTime time;
    FrameClock clock = time.clockAt(5000, 5030);
    EXPECT_NEAR(clock.waitFrame(), 0.030f, 1e-6f);
    EXPECT_TRUE(time.sleeps.empty());
    // Exactly a frame's worth of work (17 ms > 16.67) needs no sleep either.
    time.now += 17;
    EXPECT_NEAR(clock.waitFrame(), 0.017f, 1e-6f);
    EXPECT_TRUE(time.sleeps.empty());
}

TEST(FrameClock, AStallIsCutToAnEighthOfASecond) {
    FakeTime time;
    FrameClock clock = time.clockAt(10000, 12000);
    EXPECT_EQ(clock.waitFrame(), 0.125f);
    EXPECT_EQ(clock.lastTicks, 12000u);
    // 125 ms itself is not cut.
    time.now += 125;
    EXPECT_EQ(clock.waitFrame(), 0.125f);
}

TEST(FrameClock, TheFirstPassMeasuresFromTickZero) {
    FakeTime time;
    FrameClock clock = time.clock();
    EXPECT_EQ(clock.lastTicks, 0u);
    EXPECT_EQ(clock.targetFps, 60.0f);
    EXPECT_EQ(clock.maxStep, 0.125f);
    // Start-up took 800 ms since SDL started: no sleep, and the step is cut.
    time.now = 800;
    EXPECT_EQ(clock.waitFrame(), 0.125f);
    EXPECT_TRUE(time.sleeps.empty());
    EXPECT_EQ(clock.lastTicks, 800u);
}

TEST(FrameClock, ATickCounterThatWrapsStillGivesTheSmallDifference) {
    FakeTime time;
    FrameClock clock = time.clockAt(0xFFFFFFF0u, 0x00000004u); // 20 ms later, past the wrap
    EXPECT_NEAR(clock.waitFrame(), 0.020f, 1e-6f);
    EXPECT_TRUE(time.sleeps.empty());
    // A clock that has gone backwards asks for a long sleep but never overflows the delay.
    clock.lastTicks = 0x80000000u;
    time.now = 0;
    time.sleeps.clear();
    clock.waitFrame();
    ASSERT_EQ(time.sleeps.size(), 1u);
    EXPECT_EQ(time.sleeps[0], 2147483647u);
}

// A browser calls once per display frame; the clock decides which calls make a pass.
TEST(FrameClock, AHostPacedPassIsDueAtTheTargetRateWhateverTheDisplayRate) {
    FakeTime time;
    FrameClock clock = time.clock();
    clock.lastTicks = 5000;
    // At 60 passes a second every frame of a 60 Hz display is due, even one that comes a little early.
    EXPECT_TRUE(clock.passIsDue(5017));
    EXPECT_TRUE(clock.passIsDue(5015));
    // A 144 Hz display's next frame (7 ms) is too early; its second (14 ms) is due.
    EXPECT_FALSE(clock.passIsDue(5007));
    EXPECT_TRUE(clock.passIsDue(5014));
    // The message screen's 24 passes a second take every second frame of a 60 Hz display at most.
    clock.targetFps = 24.0f;
    EXPECT_FALSE(clock.passIsDue(5017));
    EXPECT_TRUE(clock.passIsDue(5034));
    // Ticks that wrapped since the last pass still count the small difference.
    clock.lastTicks = 0xFFFFFFF0u;
    EXPECT_TRUE(clock.passIsDue(0x00000020u));
    EXPECT_FALSE(clock.passIsDue(0xFFFFFFF4u));
}
