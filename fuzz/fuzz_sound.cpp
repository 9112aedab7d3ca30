// Fuzz target: the sound effect loader. The fuzzer's bytes are the unscrambled sample file, decoded in
// full by SDL_mixer when the Sound loads it.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "audio/sound.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    require(openFuzzAudio());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = fuzzScratchFile("sound.dat");
    require(writeScrambledInput(path, data, size));
    Sound sound;
    const bool loaded = sound.loadSound(path);
    require(loaded == sound.hasSample());
    if (loaded) {
        sound.playSound(0.5f);
        // Loading again replaces the held sample.
        require(sound.loadSound(path) == loaded);
    }
    return 0;
}
