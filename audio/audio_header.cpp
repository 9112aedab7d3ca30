// Header checks for sound and music files.
#include "audio/audio_header.h"

#include <cstring>

namespace {
uint32_t little32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

bool saneFormat(uint32_t channels, uint32_t rate) {
    return channels >= 1 && channels <= 2 && rate >= 4000 && rate <= 96000;
}

bool waveIsSafe(const uint8_t* bytes, size_t length) {
    bool format = false;
    bool data = false;
    size_t at = 12;
    while (length - at >= 8) {
        const uint32_t size = little32(bytes + at + 4);
        if (size > length - at - 8) {
            return false;
        }
        if (std::memcmp(bytes + at, "fmt ", 4) == 0) {
            if (size < 16 || !saneFormat(bytes[at + 10] | bytes[at + 11] << 8, little32(bytes + at + 12))) {
                return false;
            }
            format = true;
        } else if (std::memcmp(bytes + at, "data", 4) == 0) {
            data = true;
        }
        at += 8 + size + (size & 1);
        if (at >= length) {
            break;
        }
    }
    return format && data;
}

bool vorbisIsSafe(const uint8_t* bytes, size_t length) {
    // The first page carries the identification packet: "\x01vorbis", version, channels, rate.
    static const uint8_t kMark[7] = {1, 'v', 'o', 'r', 'b', 'i', 's'};
    for (size_t at = 0; at + 16 <= length && at < 256; ++at) {
        if (std::memcmp(bytes + at, kMark, 7) == 0) {
            return saneFormat(bytes[at + 11], little32(bytes + at + 12));
        }
    }
    return false;
}
} // namespace

bool audioHeaderIsSafe(const uint8_t* bytes, size_t length) {
    if (length >= 12 && std::memcmp(bytes, "RIFF", 4) == 0) {
        return std::memcmp(bytes + 8, "WAVE", 4) == 0 && waveIsSafe(bytes, length);
    }
    if (length >= 4 && std::memcmp(bytes, "OggS", 4) == 0) {
        return vorbisIsSafe(bytes, length);
    }
    // The game ships Ogg Vorbis and PCM WAV only; SDL_mixer's other readers (MIDI, MOD, VOC, AIFF,
    // MP3) never see a file.
    return false;
}
