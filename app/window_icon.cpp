// The window icon: the generated desktop icon's design, scrambled into res/ by the asset generator.
#include "app/window_icon.h"

#include <SDL/SDL.h>
#include <SDL/SDL_image.h>
#include <cstdlib>
#include <cstring>

#include "game/world_tables.h"
#include "resources/resource_file.h"

namespace {
uint32_t bigEndian32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 |
           static_cast<uint32_t>(p[2]) << 8 | p[3];
}

// Only a PNG of the icon's own size is handed to the decoder, and only when every chunk up to IEND lies
// inside the file: SDL_image's reader does not report a short read, so a chunk claiming more bytes than
// the file holds would make libpng decode stale memory.
bool isIconPng(const uint8_t* bytes, size_t length) {
    static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (length < 33 || std::memcmp(bytes, kSignature, 8) != 0 || bigEndian32(bytes + 8) != 13 ||
        std::memcmp(bytes + 12, "IHDR", 4) != 0) {
        return false;
    }
    const uint32_t size = static_cast<uint32_t>(kWindowIconSize);
    if (bigEndian32(bytes + 16) != size || bigEndian32(bytes + 20) != size) {
        return false;
    }
    size_t at = 8;
    while (length - at >= 12) {
        const uint32_t chunk = bigEndian32(bytes + at);
        if (chunk > length - at - 12) {
            return false;
        }
        if (std::memcmp(bytes + at + 4, "IEND", 4) == 0) {
            return true;
        }
        at += 12 + chunk;
    }
    return false;
}
} // namespace

SDL_Surface* loadWindowIcon(const std::string& path) {
    size_t length = 0;
    uint8_t* bytes = readResourceFile(path, &length);
    if (bytes == nullptr) {
        return nullptr;
    }
    SDL_Surface* icon = nullptr;
    if (isIconPng(bytes, length)) {
        SDL_RWops* stream = SDL_RWFromMem(bytes, static_cast<int>(length));
        if (stream != nullptr) {
            icon = IMG_Load_RW(stream, 0);
            SDL_RWclose(stream);
        }
    }
    free(bytes);
    if (icon != nullptr && (icon->w != kWindowIconSize || icon->h != kWindowIconSize)) {
        SDL_FreeSurface(icon);
        icon = nullptr;
    }
    return icon;
}

bool setWindowIcon() {
    // Without a video subsystem SDL 1.2 has nowhere to put the icon (and would crash trying).
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0) {
        return false;
    }
    SDL_Surface* icon = loadWindowIcon(resourcePath(kWindowIconNumber));
    if (icon == nullptr) {
        return false;
    }
    // SDL makes its own copy for the window system (with a mask from the picture's alpha), so the
    // picture can go at once.
    SDL_WM_SetIcon(icon, nullptr);
    SDL_FreeSurface(icon);
    return true;
}
