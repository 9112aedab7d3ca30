// PNG encoding of a canvas (through the shared encoder library): 24-bit when every pixel is opaque,
// 32-bit when some are transparent.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/assetgen/pixel_canvas.h"

// Encodes the canvas; false (and out left empty) if libpng fails.
bool encodePng(const PixelCanvas& canvas, std::vector<uint8_t>& out);
// Writes the encoded canvas to a plain (unscrambled) file.
bool writePngFile(const PixelCanvas& canvas, const std::string& path);
