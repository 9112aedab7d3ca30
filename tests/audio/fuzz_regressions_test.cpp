// Inputs the fuzz targets found, kept as tests of the audio loaders. Each is a WAV file of a few hundred
// bytes that SDL 1.2 mishandles: a chunk claiming gigabytes (SDL allocates the claimed length before
// reading), a missing data chunk (SDL_mixer's music reader loops for ever looking for it) and a sample
// rate far from the device's (SDL's rate converter overruns its fixed table of filters and jumps to a
// wild address). The loaders have to refuse such files before handing them over.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "audio/music_player.h"
#include "audio/sound.h"
#include "tests/audio/audio_test_support.h"
#include "tests/support/ogg_writer.h"
#include "tests/support/scratch_files.h"

namespace {
// The process's largest address-space size so far, from /proc/self/status, in KiB. A chunk buffer of
// gigabytes shows here even though its pages are never touched.
long peakAddressSpaceKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmPeak:", 0) == 0) {
            return std::stol(line.substr(7));
        }
    }
    return -1;
}

long currentAddressSpaceKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmSize:", 0) == 0) {
            return std::stol(line.substr(7));
        }
    }
    return -1;
}

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
std::vector<uint8_t> wavClaiming(size_t lengthOffset, uint32_t length) {
    std::vector<uint8_t> wav = shortWav();
    putLittleEndian(wav, lengthOffset, length);
    return wav;
}

class AudioFuzzRegressions : public AudioTest {
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
// asked SDL for as much). Disabled until the loaders check RIFF chunk lengths against the file (see
// docs/robustness.md); enable both with the fix.
TEST_F(AudioFuzzRegressions, MusicWithAFormatChunkClaimingGigabytesIsRefusedCheaply) {
    MusicPlayer player;
    expectRefusedCheaply(wavClaiming(16, 0xDAD4E1A2u),
                         [&](const std::string& path) { return player.loadMusic(path); });
    EXPECT_FALSE(player.hasMusic());
}

TEST_F(AudioFuzzRegressions, SampleWithADataChunkClaimingGigabytesIsRefusedCheaply) {
    Sound sound;
    expectRefusedCheaply(wavClaiming(40, 0xF0000000u),
                         [&](const std::string& path) { return sound.loadSound(path); });
    EXPECT_FALSE(sound.hasSample());
}

// Found by fuzz_sound: a rate of 16.7 MHz (and one of 67 MHz) crashed the process inside SDL. Disabled
// until the loaders check the format (docs/robustness.md); enable with the fix.
TEST_F(AudioFuzzRegressions, SampleAtARateFarFromTheDevicesIsRefused) {
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

// Found by fuzz_music: with its data chunk renamed, a WAV kept the music loader busy for ever. Disabled
// until the loaders check for the chunk (docs/robustness.md); enable with the fix.
TEST_F(AudioFuzzRegressions, MusicWithoutADataChunkIsRefused) {
    std::vector<uint8_t> wav = shortWav();
    wav[37] = 0x95; // "data" becomes "d\x95ta"
    ScratchDir dir;
    ASSERT_TRUE(writeScrambledFile(dir.file("7.dat"), wav));
    MusicPlayer player;
    EXPECT_FALSE(player.loadMusic(dir.file("7.dat")));
    EXPECT_FALSE(player.hasMusic());
}
