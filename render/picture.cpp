// Decoding the game's plain pictures without SDL: with libpng on the desktop, with stb_image in the
// browser.
#include "render/picture.h"

#include <cstdlib>
#include <cstring>

#include "render/png_checks.h"
#include "render/texture.h"
#include "resources/resource_file.h"

#ifdef __EMSCRIPTEN__
// The browser build has no libpng; it links the stb_image decoder that its SDL_image uses.
extern "C" unsigned char* stbi_load_from_memory(const unsigned char* buffer, int length, int* width,
                                                int* height, int* channels, int wantedChannels);
extern "C" void stbi_image_free(void* pixels);

namespace {
// The same plain pictures the desktop decodes with libpng: 8 bits per channel, RGB or RGBA, not
// interlaced, no transparency chunk. Called after isDecodablePng, so the header lies inside the file.
bool isPlainPngHeader(const uint8_t* bytes, size_t length) {
    const uint8_t depth = bytes[24];
    const uint8_t colour = bytes[25];
    const uint8_t interlace = bytes[28];
    return depth == 8 && (colour == 2 || colour == 6) && interlace == 0 &&
           !pngHasChunk(bytes, length, "tRNS");
}
} // namespace

bool decodePlainPng(const uint8_t* bytes, size_t length, Picture* picture) {
    *picture = Picture();
    const uint32_t largest = static_cast<uint32_t>(Texture::kLargestPictureSide);
    if (!isDecodablePng(bytes, length, largest) || !isPlainPngHeader(bytes, length)) {
        return false;
    }
    int width = 0;
    int height = 0;
    int channels = 0;
    unsigned char* decoded =
        stbi_load_from_memory(bytes, static_cast<int>(length), &width, &height, &channels, 0);
    if (decoded == nullptr) {
        return false;
    }
    if ((channels == 3 || channels == 4) && width > 0 && height > 0) {
        picture->width = width;
        picture->height = height;
        picture->bytesPerPixel = channels;
        picture->pitch = (width * channels + 3) & ~3;
        picture->pixels.assign(static_cast<size_t>(picture->pitch) * static_cast<size_t>(height), 0);
        const size_t row = static_cast<size_t>(width) * static_cast<size_t>(channels);
        for (int y = 0; y < height; ++y) {
            std::memcpy(picture->pixels.data() + static_cast<size_t>(picture->pitch) * y,
                        decoded + row * static_cast<size_t>(y), row);
        }
    }
    stbi_image_free(decoded);
    return picture->width > 0;
}
#else
#include <png.h>

namespace {
struct MemorySource {
    const uint8_t* bytes;
    size_t length;
    size_t at;
};

void readFromMemory(png_structp png, png_bytep out, png_size_t count) {
    auto* source = static_cast<MemorySource*>(png_get_io_ptr(png));
    if (count > source->length - source->at) {
        png_error(png, "read past the end of the file");
    }
    std::memcpy(out, source->bytes + source->at, count);
    source->at += count;
}

void onError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

// libpng goes on after a warning (a bad ancillary chunk, a benign error), and what it then makes of the
// file is not ours to guess: the picture is declined instead.
void onWarning(png_structp png, png_const_charp) {
    *static_cast<bool*>(png_get_error_ptr(png)) = true;
}

// Everything libpng may leave by a long jump. No local here has a destructor, and the picture's
// buffer belongs to the caller, so the jump skips nothing that must run.
bool readPlain(png_structp png, png_infop info, Picture* picture) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_read_info(png, info);
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int depth = 0;
    int colour = 0;
    int interlace = 0;
    png_get_IHDR(png, info, &width, &height, &depth, &colour, &interlace, nullptr, nullptr);
    if (depth != 8 || (colour != PNG_COLOR_TYPE_RGB && colour != PNG_COLOR_TYPE_RGB_ALPHA) ||
        interlace != PNG_INTERLACE_NONE || png_get_valid(png, info, PNG_INFO_tRNS) != 0) {
        return false;
    }
    picture->width = static_cast<int>(width);
    picture->height = static_cast<int>(height);
    picture->bytesPerPixel = colour == PNG_COLOR_TYPE_RGB ? 3 : 4;
    picture->pitch = (picture->width * picture->bytesPerPixel + 3) & ~3;
    picture->pixels.assign(static_cast<size_t>(picture->pitch) * height, 0);
    for (png_uint_32 y = 0; y < height; ++y) {
        png_read_row(png, picture->pixels.data() + static_cast<size_t>(picture->pitch) * y, nullptr);
    }
    png_read_end(png, nullptr);
    return true;
}

bool decodePlainBytes(const uint8_t* bytes, size_t length, Picture* picture) {
    bool warned = false;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &warned, onError, onWarning);
    if (png == nullptr) {
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return false;
    }
    MemorySource source = {bytes, length, 0};
    png_set_read_fn(png, &source, readFromMemory);
    const bool read = readPlain(png, info, picture);
    png_destroy_read_struct(&png, &info, nullptr);
    return read && !warned;
}
} // namespace

bool decodePlainPng(const uint8_t* bytes, size_t length, Picture* picture) {
    *picture = Picture();
    const uint32_t largest = static_cast<uint32_t>(Texture::kLargestPictureSide);
    if (isDecodablePng(bytes, length, largest) && decodePlainBytes(bytes, length, picture)) {
        return true;
    }
    *picture = Picture();
    return false;
}
#endif

bool decodePlainPicture(const std::string& path, Picture* picture) {
    *picture = Picture();
    size_t length = 0;
    uint8_t* bytes = readResourceFile(path, &length);
    if (bytes == nullptr) {
        return false;
    }
    const bool decoded = decodePlainPng(bytes, length, picture);
    std::free(bytes);
    return decoded;
}
