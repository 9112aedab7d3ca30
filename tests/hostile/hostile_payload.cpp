// Writes the hostile resource files that the end-to-end tests put in place of the game's own, already
// scrambled with the resource key:
//   hostile_payload chained_ogg OUT RATE   two Ogg Vorbis links, the second declaring RATE Hz
//   hostile_payload big_png OUT WIDTH HEIGHT  a real, well-formed black-and-white PNG of that size
//   hostile_payload bitmap OUT             a small, valid BMP picture (a format the game does not ship)
#include <SDL/SDL.h>
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/ogg_chain.h"
#include "tests/support/ogg_writer.h"
#include "tests/support/scratch_files.h"

namespace {
using Bytes = std::vector<uint8_t>;

Bytes chainedOgg(uint32_t secondRate) {
    // The first link is short, so the second one starts playing about a second after the music does.
    Bytes first = encodeOggVorbis(sineTone(440.0, 0.4, 1.0, 22050), 22050);
    const Bytes second = relinkOgg(encodeOggVorbis(sineTone(660.0, 0.4, 3.0, 22050), 22050), 2, secondRate);
    if (first.empty() || second.empty()) {
        return {};
    }
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

void appendBytes(png_structp png, png_bytep data, png_size_t length) {
    Bytes* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

// One bit per pixel, all black: 16000 x 16000 compresses to about a megabyte, and decodes to gigabytes.
Bytes bigPng(uint32_t width, uint32_t height) {
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &out, appendBytes, nullptr);
    png_set_IHDR(png, info, width, height, 1, PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row((width + 7) / 8, 0);
    for (uint32_t y = 0; y < height; ++y) {
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

Bytes bitmap() {
    SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, 16, 16, 24, 0xFF0000, 0x00FF00, 0x0000FF, 0);
    if (surface == nullptr) {
        return {};
    }
    SDL_FillRect(surface, nullptr, 0x808080);
    ScratchDir dir;
    const std::string path = dir.file("picture.bmp");
    SDL_SaveBMP(surface, path.c_str());
    SDL_FreeSurface(surface);
    return readWholeFile(path);
}
} // namespace

int main(int argc, char** argv) {
    const std::string kind = argc >= 3 ? argv[1] : "";
    Bytes payload;
    if (kind == "chained_ogg" && argc == 4) {
        payload = chainedOgg(static_cast<uint32_t>(std::strtoul(argv[3], nullptr, 10)));
    } else if (kind == "big_png" && argc == 5) {
        payload = bigPng(static_cast<uint32_t>(std::strtoul(argv[3], nullptr, 10)),
                         static_cast<uint32_t>(std::strtoul(argv[4], nullptr, 10)));
    } else if (kind == "bitmap" && argc == 3) {
        payload = bitmap();
    } else {
        std::fprintf(stderr, "usage: %s chained_ogg OUT RATE | big_png OUT WIDTH HEIGHT | bitmap OUT\n",
                     argv[0]);
        return 2;
    }
    if (payload.empty() || !writeScrambledFile(argv[2], payload)) {
        std::fprintf(stderr, "%s: could not make %s\n", argv[0], argv[2]);
        return 1;
    }
    return 0;
}
