#include <gtest/gtest.h>

#include <SDL/SDL_mixer.h>
#include <sys/stat.h>

#include "audio/sound.h"
#include "tests/audio/audio_test_support.h"
#include "tests/support/ogg_writer.h"
#include "tests/support/scratch_files.h"

namespace {
class SoundTest : public AudioTest {
protected:
    void SetUp() override {
        AudioTest::SetUp();
        path_ = dir_.file("3.dat");
        ASSERT_TRUE(writeScrambledFile(path_, encodeWav(sineTone(660, 0.5, 2.0, 22050), 22050)));
    }
    void TearDown() override { Mix_HaltChannel(-1); }

    static int playingChannel() {
        for (int channel = 0; channel < 16; ++channel) {
            if (Mix_Playing(channel)) {
                return channel;
            }
        }
        return -1;
    }

    ScratchDir dir_;
    std::string path_;
};
} // namespace

TEST_F(SoundTest, PlaysOnceAtTheScaledVolumeOnAFreeChannel) {
    Sound sound;
    sound.playSound(1.0f); // nothing loaded: nothing plays
    EXPECT_EQ(Mix_Playing(-1), 0);

    ASSERT_TRUE(sound.loadSound(path_));
    EXPECT_TRUE(sound.hasSample());
    sound.playSound(0.999f);
    EXPECT_EQ(Mix_Playing(-1), 1);
    const int channel = playingChannel();
    ASSERT_GE(channel, 0);
    EXPECT_EQ(Mix_Volume(channel, -1), 127);

    // Sixteen channels: the seventeenth effect is dropped without harm.
    for (int i = 0; i < 20; ++i) {
        sound.playSound(0.5f);
    }
    EXPECT_EQ(Mix_Playing(-1), 16);

    // Loading again replaces the sample and stops what played.
    ASSERT_TRUE(sound.loadSound(path_));
    EXPECT_EQ(Mix_Playing(-1), 0);
}

TEST_F(SoundTest, DestroyingASoundHaltsEveryChannel) {
    Sound other;
    ASSERT_TRUE(other.loadSound(path_));
    other.playSound(1.0f);
    {
        Sound sound;
        ASSERT_TRUE(sound.loadSound(path_));
        sound.playSound(1.0f);
        EXPECT_EQ(Mix_Playing(-1), 2);
    }
    EXPECT_EQ(Mix_Playing(-1), 0);
    // An empty sound halts nothing.
    other.playSound(1.0f);
    { Sound empty; }
    EXPECT_EQ(Mix_Playing(-1), 1);
}

TEST_F(SoundTest, BadFilesLeaveTheSoundEmpty) {
    ASSERT_TRUE(writeWholeFile(dir_.file("empty.dat"), {}));
    ASSERT_TRUE(writeScrambledFile(dir_.file("garbage.dat"), std::vector<uint8_t>(300, 0x11)));
    const std::vector<uint8_t> wav = encodeWav(sineTone(660, 0.5, 0.1, 22050), 22050);
    ASSERT_TRUE(
        writeScrambledFile(dir_.file("truncated.dat"), std::vector<uint8_t>(wav.begin(), wav.begin() + 30)));
    ASSERT_EQ(mkdir(dir_.file("dir.dat").c_str(), 0755), 0);
    for (const char* name : {"missing.dat", "empty.dat", "garbage.dat", "truncated.dat", "dir.dat"}) {
        Sound sound;
        ASSERT_TRUE(sound.loadSound(path_));
        EXPECT_FALSE(sound.loadSound(dir_.file(name))) << name;
        EXPECT_FALSE(sound.hasSample()) << name;
        sound.playSound(1.0f);
        EXPECT_EQ(Mix_Playing(-1), 0) << name;
    }
}
