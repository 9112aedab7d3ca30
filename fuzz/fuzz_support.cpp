// Scratch files and platform set-up for the fuzz targets.
#include "fuzz/fuzz_support.h"

#include <SDL/SDL.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "audio/audio_device.h"
#include "resources/cipher.h"

namespace {
std::string scratch;

void removeScratch() {
    if (!scratch.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(scratch, ignored);
    }
}
} // namespace

const std::string& fuzzScratchDir() {
    if (scratch.empty()) {
        std::string pattern = (std::filesystem::temp_directory_path() / "tavok-fuzz-XXXXXX").string();
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        if (mkdtemp(name.data()) == nullptr) {
            std::perror("mkdtemp");
            std::abort();
        }
        scratch = name.data();
        std::atexit(removeScratch);
    }
    return scratch;
}

std::string fuzzScratchFile(const std::string& name) {
    return fuzzScratchDir() + "/" + name;
}

bool writeRawFile(const std::string& path, const uint8_t* data, size_t size) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

bool writeScrambledInput(const std::string& path, const uint8_t* data, size_t size) {
    std::vector<uint8_t> copy(data, data + size);
    scrambleResource(copy.data(), copy.size());
    return writeRawFile(path, copy.data(), copy.size());
}

bool openFuzzGlWindow() {
    static bool open = false;
    if (!open) {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            return false;
        }
        if (SDL_SetVideoMode(64, 64, 32, SDL_OPENGL) == nullptr) {
            return false;
        }
        open = true;
    }
    return true;
}

bool openFuzzAudio() {
    static bool open = false;
    if (!open) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0 || !openAudio()) {
            return false;
        }
        open = true;
    }
    return true;
}
