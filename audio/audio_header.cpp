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

// Every logical stream of an Ogg file begins with a page flagged "beginning of stream" whose first
// packet is the identification header: "\x01vorbis", version, channels, rate. A chained file holds one
// such page per link, and SDL_mixer rebuilds its rate converter at each new link, so each one is read.
// The capture pattern is looked for everywhere, as libogg does when it resynchronises after damage; a
// stream whose page cannot be read in full is refused, since its format is unknown.
bool vorbisIsSafe(const uint8_t* bytes, size_t length) {
    static const uint8_t kCapture[4] = {'O', 'g', 'g', 'S'};
    static const uint8_t kMark[7] = {1, 'v', 'o', 'r', 'b', 'i', 's'};
    const size_t kPageHeader = 27;
    const uint8_t kBeginningOfStream = 0x02;
    size_t streams = 0;
    for (size_t at = 0; length - at >= 4; ++at) {
        const void* found = std::memchr(bytes + at, 'O', length - at - 3);
        if (found == nullptr) {
            break;
        }
        at = static_cast<size_t>(static_cast<const uint8_t*>(found) - bytes);
        if (std::memcmp(bytes + at, kCapture, 4) != 0) {
            continue;
        }
        if (length - at < kPageHeader) {
            break; // an unfinished page at the very end is never read as a page
        }
        if ((bytes[at + 5] & kBeginningOfStream) == 0) {
            continue;
        }
        const size_t body = at + kPageHeader + bytes[at + 26];
        if (body > length || length - body < 16 || std::memcmp(bytes + body, kMark, 7) != 0 ||
            !saneFormat(bytes[body + 11], little32(bytes + body + 12))) {
            return false;
        }
        ++streams;
    }
    return streams > 0;
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
