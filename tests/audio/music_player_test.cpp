#include <gtest/gtest.h>

#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>
#include <cmath>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

#include "audio/music_player.h"
#include "tests/audio/audio_test_support.h"
#include "tests/support/ogg_writer.h"
#include "tests/support/scratch_files.h"

namespace {
// The loudness of every quarter of every block the mixer hands to the device (512 frames, 23.2 ms of
// the 22050 Hz device), recorded on the mixer's thread.
const int kQuartersPerBlock = 4;
const double kQuarterSeconds = 512.0 / 22050.0;
std::mutex levelsLock;
std::vector<double> levels;

void recordLevels(void*, Uint8* stream, int length) {
    const int16_t* samples = reinterpret_cast<const int16_t*>(stream);
    const int perQuarter = length / 2 / kQuartersPerBlock;
    std::lock_guard<std::mutex> hold(levelsLock);
    for (int q = 0; q < kQuartersPerBlock; ++q) {
        double sum = 0;
        for (int i = q * perQuarter; i < (q + 1) * perQuarter; ++i) {
            sum += static_cast<double>(samples[i]) * samples[i];
        }
        levels.push_back(perQuarter > 0 ? std::sqrt(sum / perQuarter) : 0);
    }
}

// Resumes the music and forgets what was recorded so far, both between two blocks, so that the next
// block recorded is the first one mixed after the resume.
void resumeAndRecord(MusicPlayer* player) {
    SDL_LockAudio();
    player->resumeMusic();
    {
        std::lock_guard<std::mutex> hold(levelsLock);
        levels.clear();
    }
    SDL_UnlockAudio();
}

// The first count quarter levels mixed after resumeAndRecord, waiting for them (the dummy device asks for
// a block about every 93 ms); fewer if the mixer stalls for seconds.
std::vector<double> recordedLevels(size_t count) {
    for (int waited = 0; waited < 5000; waited += 10) {
        {
            std::lock_guard<std::mutex> hold(levelsLock);
            if (levels.size() >= count) {
                return std::vector<double>(levels.begin(), levels.begin() + count);
            }
        }
        SDL_Delay(10);
    }
    std::lock_guard<std::mutex> hold(levelsLock);
    return levels;
}

// The mean level of the second block after resumeAndRecord. The first block is skipped: SDL_mixer keeps
// up to a quarter block of music decoded before a jump and plays it first.
double settledLevel() {
    const std::vector<double> quarters = recordedLevels(2 * kQuartersPerBlock);
    if (quarters.size() < 2 * kQuartersPerBlock) {
        return -1;
    }
    double sum = 0;
    for (int q = kQuartersPerBlock; q < 2 * kQuartersPerBlock; ++q) {
        sum += quarters[q];
    }
    return sum / kQuartersPerBlock;
}

class MusicPlayerTest : public AudioTest {
protected:
    void SetUp() override {
        AudioTest::SetUp();
        path_ = dir_.file("7.dat");
        ASSERT_TRUE(writeScrambledFile(path_, encodeOggVorbis(threeStepMusic(), 22050)));
        Mix_SetPostMix(recordLevels, nullptr);
    }
    void TearDown() override { Mix_SetPostMix(nullptr, nullptr); }

    ScratchDir dir_;
    std::string path_;
};
} // namespace

TEST_F(MusicPlayerTest, LoadedMusicPlaysPausedUntilResumed) {
    MusicPlayer player;
    player.rewindMusic(); // nothing loaded: nothing happens
    EXPECT_EQ(Mix_PlayingMusic(), 0);

    ASSERT_TRUE(player.loadMusic(path_));
    EXPECT_TRUE(player.hasMusic());
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    EXPECT_EQ(Mix_PausedMusic(), 1);
    player.resumeMusic();
    EXPECT_EQ(Mix_PausedMusic(), 0);
    player.pauseMusic();
    EXPECT_EQ(Mix_PausedMusic(), 1);
    player.resumeMusic();
    player.rewindMusic();
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    EXPECT_EQ(Mix_PausedMusic(), 1);

    EXPECT_FALSE(player.loadMusic(""));
    EXPECT_FALSE(player.hasMusic());
    EXPECT_EQ(Mix_PlayingMusic(), 0);
}

TEST_F(MusicPlayerTest, VolumeIsTruncatedOntoTheMixerScale) {
    MusicPlayer player;
    player.setMusicVolume(0.999f);
    EXPECT_EQ(Mix_VolumeMusic(-1), 127);
    player.setMusicVolume(1.0f);
    EXPECT_EQ(Mix_VolumeMusic(-1), 128);
    player.setMusicVolume(0.5f);
    EXPECT_EQ(Mix_VolumeMusic(-1), 64);
    player.setMusicVolume(0.0f);
    EXPECT_EQ(Mix_VolumeMusic(-1), 0);
    player.setMusicVolume(3.0f);
    EXPECT_EQ(Mix_VolumeMusic(-1), 128);
    player.setMusicVolume(std::nanf(""));
    EXPECT_EQ(Mix_VolumeMusic(-1), 0);
    player.setMusicVolume(1.0f);
}

// The world jumps within the playing track through setMusicPosition; music decoded from memory must
// honour it. The three-step track tells by its loudness which second is playing.
TEST_F(MusicPlayerTest, PositionMovesWithinMusicPlayedFromMemory) {
    MusicPlayer player;
    player.setMusicVolume(1.0f);
    EXPECT_FALSE(player.setMusicPosition(1.0)) << "no music to move";
    ASSERT_TRUE(player.loadMusic(path_));

    resumeAndRecord(&player);
    EXPECT_LT(settledLevel(), 300) << "the first second is silent";

    // Peaks of 0.15 and 0.7 of full scale give an RMS of about 3500 and 16200.
    const double quiet = 0.15 * 32767 / std::sqrt(2.0);
    const double loud = 0.7 * 32767 / std::sqrt(2.0);
    const struct {
        double seconds;
        double level;
        double tolerance;
    } jumps[] = {{1.5, quiet, 600}, {2.5, loud, 2000}, {0.5, 0, 300}, {2.0, loud, 2000}};
    for (const auto& jump : jumps) {
        player.pauseMusic();
        ASSERT_TRUE(player.setMusicPosition(jump.seconds)) << Mix_GetError();
        resumeAndRecord(&player);
        EXPECT_NEAR(settledLevel(), jump.level, jump.tolerance) << "after a jump to " << jump.seconds << " s";
    }

    // From 0.2 s the quiet tone must start 0.8 s of mixed sound later, to within two quarter blocks.
    player.pauseMusic();
    ASSERT_TRUE(player.setMusicPosition(0.2));
    resumeAndRecord(&player);
    const std::vector<double> quarters = recordedLevels(60);
    ASSERT_EQ(quarters.size(), 60u);
    size_t onset = 1; // the first quarter may still hold music from before the jump
    while (onset < quarters.size() && quarters[onset] < quiet / 2) {
        ++onset;
    }
    EXPECT_NEAR(onset * kQuarterSeconds, 0.8, 2 * kQuarterSeconds);

    // Loading the same track again starts it from its beginning.
    ASSERT_TRUE(player.loadMusic(path_));
    EXPECT_EQ(Mix_PausedMusic(), 1);
    resumeAndRecord(&player);
    EXPECT_LT(settledLevel(), 300);
    player.unloadMusic();
    EXPECT_FALSE(player.setMusicPosition(0.5)) << "nothing left to move";
}

TEST_F(MusicPlayerTest, BadFilesLeaveThePlayerEmpty) {
    MusicPlayer player;
    const std::vector<uint8_t> ogg = encodeOggVorbis(threeStepMusic(), 22050);
    // The right file scrambled with another key.
    std::vector<uint8_t> otherKey = ogg;
    uint8_t sum = 0;
    for (size_t step = 0; step < otherKey.size(); ++step) {
        uint8_t& byte = otherKey[otherKey.size() - 1 - step];
        sum = static_cast<uint8_t>(sum + byte + 0x21 + step % 5);
        byte = sum;
    }
    ASSERT_TRUE(writeWholeFile(dir_.file("other-key.dat"), otherKey));
    ASSERT_TRUE(writeWholeFile(dir_.file("empty.dat"), {}));
    ASSERT_TRUE(writeScrambledFile(dir_.file("garbage.dat"), std::vector<uint8_t>(5000, 0x5A)));
    ASSERT_TRUE(
        writeScrambledFile(dir_.file("truncated.dat"), std::vector<uint8_t>(ogg.begin(), ogg.begin() + 200)));
    ASSERT_EQ(mkdir(dir_.file("dir.dat").c_str(), 0755), 0);
    ASSERT_TRUE(writeWholeFile(dir_.file("huge.dat"), {1}));
    ASSERT_EQ(truncate(dir_.file("huge.dat").c_str(), 4LL * 1024 * 1024 * 1024), 0);

    for (const char* name : {"missing.dat", "empty.dat", "garbage.dat", "other-key.dat", "truncated.dat",
                             "dir.dat", "huge.dat"}) {
        ASSERT_TRUE(player.loadMusic(path_));
        EXPECT_FALSE(player.loadMusic(dir_.file(name))) << name;
        EXPECT_FALSE(player.hasMusic()) << name;
        EXPECT_EQ(Mix_PlayingMusic(), 0) << name;
    }
}
