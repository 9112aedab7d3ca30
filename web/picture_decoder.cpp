// The picture worker's decoder (web/picture_worker.js): a small module of its own, built from the
// game's own unscrambling and plain-picture decoder, so that a picture decoded on the worker is byte
// for byte the one the game would have decoded, and declined exactly where the game would decline it.
#include <emscripten.h>

#include <cstdint>
#include <cstdlib>

#include "render/picture.h"
#include "resources/cipher.h"

namespace {
Picture decoded;
} // namespace

extern "C" {
// Unscrambles the stored resource file in place (a buffer from this module's allocator) and decodes it
// when it is a plain picture: 1, and the picture is kept until the next call; 0 otherwise.
EMSCRIPTEN_KEEPALIVE int tavok_decode_stored_picture(uint8_t* bytes, int length) {
    decoded = Picture();
    if (bytes == nullptr || length <= 0) {
        return 0;
    }
    unscrambleResource(bytes, static_cast<size_t>(length));
    return decodePlainPng(bytes, static_cast<size_t>(length), &decoded) ? 1 : 0;
}
EMSCRIPTEN_KEEPALIVE int tavok_picture_width() {
    return decoded.width;
}
EMSCRIPTEN_KEEPALIVE int tavok_picture_height() {
    return decoded.height;
}
EMSCRIPTEN_KEEPALIVE int tavok_picture_bytes_per_pixel() {
    return decoded.bytesPerPixel;
}
EMSCRIPTEN_KEEPALIVE int tavok_picture_pitch() {
    return decoded.pitch;
}
EMSCRIPTEN_KEEPALIVE const uint8_t* tavok_picture_pixels() {
    return decoded.pixels.data();
}
}
