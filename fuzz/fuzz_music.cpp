// Fuzz target: the music loader. The fuzzer's bytes are the unscrambled music file handed to SDL_mixer
// through the MusicPlayer, which must keep its all-or-nothing state whatever the decoder thinks of them.
// The game seeks within every new track, so the target does too.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "audio/music_player.h"
#include "fuzz/fuzz_support.h"

namespace {
MusicPlayer* player = nullptr;
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    require(openFuzzAudio());
    player = new MusicPlayer;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = fuzzScratchFile("music.dat");
    require(writeScrambledInput(path, data, size));
    const bool loaded = player->loadMusic(path);
    require(loaded == player->hasMusic());
    if (loaded) {
        player->resumeMusic();
        player->setMusicPosition(0.0);
        player->setMusicPosition(10.5);
        player->pauseMusic();
        player->rewindMusic();
        player->setMusicVolume(0.5f);
    }
    player->unloadMusic();
    require(!player->hasMusic());
    return 0;
}
