// What every fuzz target shares: a private scratch folder, the fuzzer's bytes written as a file the
// game's loaders can open (scrambled, so the decoder behind the cipher sees the fuzzer's bytes, or raw),
// and the platform a loader needs (an OpenGL window, the audio device).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

// A broken promise of the code under test: abort, which the fuzzer records as a finding.
inline void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// A folder of this process's own under the temporary folder, made on first use and removed at exit.
const std::string& fuzzScratchDir();
// fuzzScratchDir() + "/" + name.
std::string fuzzScratchFile(const std::string& name);

// Writes the bytes to path as they are (what the cipher and the stream readers get to see).
bool writeRawFile(const std::string& path, const uint8_t* data, size_t size);
// Scrambles a copy of the bytes with the resource key and writes it to path, so that the game's reader
// hands exactly these bytes to the decoder.
bool writeScrambledInput(const std::string& path, const uint8_t* data, size_t size);

// Opens a small OpenGL window (SDL video) once per process; false without a display.
bool openFuzzGlWindow();
// Opens SDL audio (whatever SDL_AUDIODRIVER names; the fuzz runs use the dummy driver) and the mixer
// with the game's settings, once per process.
bool openFuzzAudio();
