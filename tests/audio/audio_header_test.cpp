// The header check in front of SDL_mixer, through both loaders. Each case is a file of a few hundred
// bytes that SDL 1.2 mishandles: a WAV chunk claiming gigabytes (SDL allocates the claimed length before
// reading), a missing data chunk (SDL_mixer's music reader loops for ever looking for it) and a sample
// rate far from the device's, in a WAV or in any link of a chained Ogg Vorbis file (SDL's rate converter
// overruns its fixed table of filters and jumps to a wild address). The loaders have to refuse such
// files before handing them over, and still take every sound file of the kinds the game ships.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "audio/audio_header.h"
#include "audio/music_player.h"
#include "audio/sound.h"
#include "tests/audio/audio_test_support.h"
#include "tests/support/address_space.h"
#include "tests/support/ogg_chain.h"
#include "tests/support/ogg_writer.h"
#include "tests/support/scratch_files.h"

namespace {
void putLittleEndian(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

// A valid short WAV: mono 16-bit PCM at 22050 Hz; "fmt " at 12, its rate at 24, "data" at 36.
std::vector<uint8_t> shortWav() {
    return encodeWav(sineTone(440, 0.5, 0.01, 22050), 22050);
}

// A valid short WAV with one chunk length replaced: the "fmt " chunk's (offset 16) or the "data"
// chunk's (offset 40).
// Two Ogg Vorbis links, each its own logical stream; the second declares secondRate (0: its own).
std::vector<uint8_t> chainedOgg(uint32_t secondRate) {
    std::vector<uint8_t> ogg = encodeOggVorbis(sineTone(440, 0.5, 0.3, 22050), 22050);
    const std::vector<uint8_t> link =
        relinkOgg(encodeOggVorbis(sineTone(660, 0.5, 0.3, 22050), 22050), 2, secondRate);
    ogg.insert(ogg.end(), link.begin(), link.end());
    return ogg;
}

std::vector<uint8_t> wavClaiming(size_t lengthOffset, uint32_t length) {
    std::vector<uint8_t> wav = shortWav();
    putLittleEndian(wav, lengthOffset, length);
    return wav;
}

class AudioHeader : public AudioTest {
protected:
    // Runs load on a file of the given bytes and checks that it failed and that the address space never
    // grew by a gigabyte on the way.
    template <typename Load> void expectRefusedCheaply(const std::vector<uint8_t>& payload, Load load) {
        ScratchDir dir;
        const std::string path = dir.file("7.dat");
        ASSERT_TRUE(writeScrambledFile(path, payload));
        const long before = currentAddressSpaceKb();
        ASSERT_GT(before, 0);
        if (peakAddressSpaceKb() > before + kGigabyteKb / 2) {
            GTEST_SKIP() << "the process already had a larger address space; the peak tells nothing";
        }
        EXPECT_FALSE(load(path));
        EXPECT_LT(peakAddressSpaceKb() - before, kGigabyteKb) << "the decoder asked for gigabytes";
    }
    static constexpr long kGigabyteKb = 1024 * 1024;
};
} // namespace

// Found by fuzz_music and fuzz_sound (a 211-byte music file asked SDL_mixer for 3.6 GB, a 1.5 KB sample
// asked SDL for as much).
TEST_F(AudioHeader, MusicWithAFormatChunkClaimingGigabytesIsRefusedCheaply) {
    MusicPlayer player;
    expectRefusedCheaply(wavClaiming(16, 0xDAD4E1A2u),
                         [&](const std::string& path) { return player.loadMusic(path); });
    EXPECT_FALSE(player.hasMusic());
}

TEST_F(AudioHeader, SampleWithADataChunkClaimingGigabytesIsRefusedCheaply) {
    Sound sound;
    expectRefusedCheaply(wavClaiming(40, 0xF0000000u),
                         [&](const std::string& path) { return sound.loadSound(path); });
    EXPECT_FALSE(sound.hasSample());
}

// Found by fuzz_sound: a rate of 16.7 MHz (and one of 67 MHz) crashed the process inside SDL.
TEST_F(AudioHeader, SampleAtARateFarFromTheDevicesIsRefused) {
    for (uint32_t rate : {16733730u, 67130914u, 1u}) {
        std::vector<uint8_t> wav = shortWav();
        putLittleEndian(wav, 24, rate);
        ScratchDir dir;
        ASSERT_TRUE(writeScrambledFile(dir.file("7.dat"), wav));
        Sound sound;
        EXPECT_FALSE(sound.loadSound(dir.file("7.dat"))) << rate << " Hz";
        MusicPlayer player;
        EXPECT_FALSE(player.loadMusic(dir.file("7.dat"))) << rate << " Hz";
    }
}

// Found by fuzz_music: with its data chunk renamed, a WAV kept the music loader busy for ever.
TEST_F(AudioHeader, MusicWithoutADataChunkIsRefused) {
    std::vector<uint8_t> wav = shortWav();
    wav[37] = 0x95; // "data" becomes "d\x95ta"
    ScratchDir dir;
    ASSERT_TRUE(writeScrambledFile(dir.file("7.dat"), wav));
    MusicPlayer player;
    EXPECT_FALSE(player.loadMusic(dir.file("7.dat")));
    EXPECT_FALSE(player.hasMusic());
}

// Found by a hostile run against the game: the second link of a chained file at 1 Hz, 2 Hz or 67 MHz
// passed a check that read only the first link, and crashed the mixer's thread a second into the music.
TEST_F(AudioHeader, EveryLinkOfAChainedOggFileIsChecked) {
    const std::vector<uint8_t> sane = chainedOgg(0);
    ASSERT_FALSE(sane.empty());
    EXPECT_TRUE(audioHeaderIsSafe(sane.data(), sane.size()));
    const std::vector<uint8_t> faster = chainedOgg(44100);
    EXPECT_TRUE(audioHeaderIsSafe(faster.data(), faster.size())) << "another ordinary rate is fine";
    for (uint32_t rate : {1u, 2u, 3999u, 96001u, 67130914u}) {
        const std::vector<uint8_t> chained = chainedOgg(rate);
        EXPECT_FALSE(audioHeaderIsSafe(chained.data(), chained.size())) << rate << " Hz";
    }
    // A link cut off inside its first page cannot say what it holds.
    std::vector<uint8_t> cut = sane;
    const std::string text(cut.begin(), cut.end());
    const size_t second = text.find(std::string("OggS\0\2", 6), 4);
    ASSERT_NE(second, std::string::npos);
    cut.resize(second + 27 + cut[second + 26] + 8);
    EXPECT_FALSE(audioHeaderIsSafe(cut.data(), cut.size()));

    // Both loaders refuse the bad chain and take the sane one.
    ScratchDir dir;
    ASSERT_TRUE(writeScrambledFile(dir.file("7.dat"), chainedOgg(1)));
    MusicPlayer player;
    EXPECT_FALSE(player.loadMusic(dir.file("7.dat")));
    EXPECT_FALSE(player.hasMusic());
    Sound sound;
    EXPECT_FALSE(sound.loadSound(dir.file("7.dat")));
    ASSERT_TRUE(writeScrambledFile(dir.file("8.dat"), sane));
    EXPECT_TRUE(player.loadMusic(dir.file("8.dat")));
    EXPECT_TRUE(sound.loadSound(dir.file("8.dat")));
}
