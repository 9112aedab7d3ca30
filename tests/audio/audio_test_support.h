// Shared by the audio tests: the mixer opened once for the whole binary under the dummy driver, and the
// game's resource files for music and samples.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

// Opens SDL audio and the mixer with the game's settings for the test suite, closes it afterwards.
class AudioTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    static bool audioOpen_;
};

// Mono 22050 Hz: one second of silence, then a second of a quiet tone, then a second of a loud one, so
// that what the mixer plays tells where in the music it is.
std::vector<int16_t> threeStepMusic();
