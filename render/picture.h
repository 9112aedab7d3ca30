// Picture: a decoded image as plain bytes owned by the game, in the layout OpenGL reads (R,G,B or
// R,G,B,A, the top row first, rows at multiples of 4 bytes), and the decoder that makes one without SDL.
// Decoding without SDL is what lets pictures be decoded on another thread while the main thread opens
// the window: SDL 1.2's surfaces read the video state that opening and closing a display changes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct Picture {
    int width = 0;
    int height = 0;
    int bytesPerPixel = 0; // 3 (R,G,B) or 4 (R,G,B,A)
    int pitch = 0;         // bytes from one row to the next: width x bytesPerPixel rounded up to 4
    std::vector<uint8_t> pixels;
};

// Reads and unscrambles the resource file at path and decodes it with libpng alone (stb_image in the
// browser build); safe on any thread at any time. Only the plain pictures the game ships are decoded: PNG with 8 bits per channel, RGB or
// RGBA, not interlaced, without a transparency chunk, that pass the texture's own header checks and
// that libpng reads to their end without a single warning. For those, the bytes are exactly what the
// texture's SDL_image road gives. Anything else is declined (false), and the caller decodes it through
// that road, which thereby keeps the decision over every damaged or unusual file.
bool decodePlainPicture(const std::string& path, Picture* picture);
// The same for a file already read and unscrambled.
bool decodePlainPng(const uint8_t* bytes, size_t length, Picture* picture);
