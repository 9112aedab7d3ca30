// PNG encoding into memory through libpng. No time or text chunks are written, so the bytes depend on
// the pixels (and the compression level) alone: the asset generator's output stays the same from run
// to run, and tests can make every colour type the texture loader meets.
#pragma once

#include <cstdint>
#include <vector>

struct PngImage {
    enum Kind {
        kRgb,     // 8-bit R,G,B
        kRgba,    // 8-bit R,G,B,A
        kPalette, // 8-bit indices into palette (R,G,B triples)
        kGrey,    // 8-bit grey levels
        kRgb16,   // 16-bit R,G,B (samples given as 8-bit, written doubled)
    };
    Kind kind = kRgb;
    int width = 0;
    int height = 0;
    // Samples row by row from the top row: 3 per pixel for kRgb and kRgb16, 4 for kRgba, 1 otherwise.
    std::vector<uint8_t> samples;
    std::vector<uint8_t> palette;
    // Per-index alpha for kPalette (tRNS); empty for none.
    std::vector<uint8_t> paletteAlpha;
    // One transparent colour for kRgb (tRNS), used when set.
    bool hasTransparentColour = false;
    uint8_t transparent[3] = {0, 0, 0};
    // zlib level 0..9; -1 leaves libpng's default.
    int compressionLevel = -1;
};

// The encoded PNG file; empty (a PNG never is) when the samples do not fit the size or libpng refused.
std::vector<uint8_t> encodePng(const PngImage& image);
