// The checks a PNG file passes before any decoder sees it, shared by the textures' two ways of decoding
// (SDL_image on the main thread, libpng alone ahead of the window) and the window icon, so that every
// decoder refuses the same files.
#pragma once

#include <cstddef>
#include <cstdint>

// True when the bytes open with the PNG signature and an IHDR chunk of width and height 1..largest, and
// every chunk up to IEND lies within the bytes.
bool isDecodablePng(const uint8_t* bytes, size_t length, uint32_t largest);

// The size an IHDR chunk at the start of the bytes gives, after the PNG signature; false when the bytes
// do not open so.
bool pngSize(const uint8_t* bytes, size_t length, uint32_t* width, uint32_t* height);
// True when every chunk up to IEND lies within the bytes: SDL_image's reader never reports a short read,
// so libpng takes stale bytes for whatever a chunk claims beyond the end, and can go on for ever.
bool pngChunksFit(const uint8_t* bytes, size_t length);
// True when a chunk of the given four-letter type comes before IEND, every chunk up to it within the
// bytes.
bool pngHasChunk(const uint8_t* bytes, size_t length, const char type[4]);
