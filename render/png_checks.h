// The checks a PNG file passes before any decoder sees it, shared by the textures' two ways of decoding
// (SDL_image on the main thread, libpng alone ahead of the window) so that both refuse the same files.
#pragma once

#include <cstddef>
#include <cstdint>

// True when the bytes open with the PNG signature and an IHDR chunk of width and height 1..largest, and
// every chunk up to IEND lies within the bytes.
bool isDecodablePng(const uint8_t* bytes, size_t length, uint32_t largest);
