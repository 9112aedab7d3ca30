// PNG encoding through libpng's row-by-row write path, into memory.
#include "tools/encoders/png_encoder.h"

#include <png.h>

namespace {
void appendToVector(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void noFlush(png_structp) {}

int channelsOf(PngImage::Kind kind) {
    switch (kind) {
    case PngImage::kRgb:
    case PngImage::kRgb16:
        return 3;
    case PngImage::kRgba:
        return 4;
    default:
        return 1;
    }
}

int colourTypeOf(PngImage::Kind kind) {
    switch (kind) {
    case PngImage::kRgba:
        return PNG_COLOR_TYPE_RGB_ALPHA;
    case PngImage::kPalette:
        return PNG_COLOR_TYPE_PALETTE;
    case PngImage::kGrey:
        return PNG_COLOR_TYPE_GRAY;
    default:
        return PNG_COLOR_TYPE_RGB;
    }
}

// Everything libpng may abandon with a long jump; kept apart so that no local of the caller is live
// across the jump.
void writeRows(png_structp png, png_infop info, const PngImage& image) {
    const int channels = channelsOf(image.kind);
    const int depth = image.kind == PngImage::kRgb16 ? 16 : 8;
    if (image.compressionLevel >= 0) {
        png_set_compression_level(png, image.compressionLevel);
    }
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height),
                 depth, colourTypeOf(image.kind), PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    if (image.kind == PngImage::kPalette) {
        for (size_t i = 0; i + 2 < image.palette.size(); i += 3) {
            palette.push_back({image.palette[i], image.palette[i + 1], image.palette[i + 2]});
        }
        png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
        if (!image.paletteAlpha.empty()) {
            png_set_tRNS(png, info, image.paletteAlpha.data(), static_cast<int>(image.paletteAlpha.size()),
                         nullptr);
        }
    }
    if (image.hasTransparentColour) {
        png_color_16 colour = {};
        colour.red = image.transparent[0];
        colour.green = image.transparent[1];
        colour.blue = image.transparent[2];
        colour.gray = image.transparent[0];
        png_set_tRNS(png, info, nullptr, 0, &colour);
    }
    png_write_info(png, info);
    const size_t rowSamples = static_cast<size_t>(image.width) * static_cast<size_t>(channels);
    std::vector<uint8_t> row(rowSamples * static_cast<size_t>(depth / 8));
    for (int y = 0; y < image.height; ++y) {
        const uint8_t* source = image.samples.data() + static_cast<size_t>(y) * rowSamples;
        for (size_t i = 0; i < rowSamples; ++i) {
            if (depth == 16) {
                row[2 * i] = source[i];
                row[2 * i + 1] = source[i];
            } else {
                row[i] = source[i];
            }
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
}

bool writeGuarded(png_structp png, png_infop info, const PngImage& image) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    writeRows(png, info, image);
    return true;
}
} // namespace

std::vector<uint8_t> encodePng(const PngImage& image) {
    std::vector<uint8_t> out;
    if (image.width <= 0 || image.height <= 0 ||
        image.samples.size() != static_cast<size_t>(image.width) * static_cast<size_t>(image.height) *
                                    static_cast<size_t>(channelsOf(image.kind))) {
        return out;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (info != nullptr) {
        png_set_write_fn(png, &out, appendToVector, noFlush);
        if (!writeGuarded(png, info, image)) {
            out.clear();
        }
    }
    png_destroy_write_struct(&png, &info);
    return out;
}
