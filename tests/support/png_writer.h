// PNG files made by tests, written with libpng, so that texture loading is tried on real images.
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
};

// The encoded PNG file; empty if libpng refused.
std::vector<uint8_t> encodePng(const PngImage& image);
