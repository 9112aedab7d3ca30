// A canvas's pixels as 8-bit samples, encoded at the strongest compression. No time or text chunks are
// written, so the bytes depend on the pixels alone.
#include "tools/assetgen/png_file.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "tools/encoders/png_encoder.h"

namespace {
uint8_t toByte(float value) {
    return static_cast<uint8_t>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f));
}
} // namespace

bool encodePng(const PixelCanvas& canvas, std::vector<uint8_t>& out) {
    const bool alpha = canvas.hasTransparency();
    const int channels = alpha ? 4 : 3;
    PngImage image;
    image.kind = alpha ? PngImage::kRgba : PngImage::kRgb;
    image.width = canvas.width();
    image.height = canvas.height();
    image.compressionLevel = 9;
    image.samples.resize(static_cast<size_t>(canvas.width() * canvas.height() * channels));
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            const Colour c = canvas.at(x, y);
            uint8_t* p = &image.samples[static_cast<size_t>((y * canvas.width() + x) * channels)];
            p[0] = toByte(c.r);
            p[1] = toByte(c.g);
            p[2] = toByte(c.b);
            if (alpha) {
                p[3] = toByte(c.a);
            }
        }
    }
    out = encodePng(image);
    return !out.empty();
}
bool writePngFile(const PixelCanvas& canvas, const std::string& path) {
    std::vector<uint8_t> bytes;
    if (!encodePng(canvas, bytes)) {
        return false;
    }
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}
