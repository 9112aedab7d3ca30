// Header and chunk checks of PNG files, made before decoding.
#include "render/png_checks.h"

#include <cstring>

namespace {
const uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

uint32_t big32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 |
           static_cast<uint32_t>(p[2]) << 8 | p[3];
}
} // namespace

bool pngSize(const uint8_t* bytes, size_t length, uint32_t* width, uint32_t* height) {
    if (length < 33 || std::memcmp(bytes, kPngSignature, 8) != 0 || big32(bytes + 8) != 13 ||
        std::memcmp(bytes + 12, "IHDR", 4) != 0) {
        return false;
    }
    *width = big32(bytes + 16);
    *height = big32(bytes + 20);
    return true;
}

bool pngChunksFit(const uint8_t* bytes, size_t length) {
    size_t at = 8;
    while (length - at >= 12) {
        const uint32_t size = big32(bytes + at);
        if (size > length - at - 12) {
            return false;
        }
        if (std::memcmp(bytes + at + 4, "IEND", 4) == 0) {
            return true;
        }
        at += 12 + size;
    }
    return false;
}

bool pngHasChunk(const uint8_t* bytes, size_t length, const char type[4]) {
    for (size_t at = 8; length - at >= 12 && big32(bytes + at) <= length - at - 12;
         at += 12 + big32(bytes + at)) {
        if (std::memcmp(bytes + at + 4, type, 4) == 0) {
            return true;
        }
        if (std::memcmp(bytes + at + 4, "IEND", 4) == 0) {
            return false;
        }
    }
    return false;
}

bool isDecodablePng(const uint8_t* bytes, size_t length, uint32_t largest) {
    uint32_t width = 0;
    uint32_t height = 0;
    // The decoded picture is width x height x 4 bytes however small the file: a 1 MB file can ask for
    // gigabytes, so the size is refused from the header alone.
    return pngSize(bytes, length, &width, &height) && width != 0 && height != 0 && width <= largest &&
           height <= largest && pngChunksFit(bytes, length);
}
