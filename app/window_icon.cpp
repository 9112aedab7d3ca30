// The window icon: the generated desktop icon's design, scrambled into res/ by the asset generator.
#include "app/window_icon.h"

#include <SDL/SDL.h>
#include <SDL/SDL_image.h>
#include <cstdlib>

#include "game/world_tables.h"
#include "render/png_checks.h"
#include "resources/resource_file.h"

namespace {
// Only a PNG of the icon's own size is handed to the decoder, and only when every chunk up to IEND lies
// inside the file.
bool isIconPng(const uint8_t* bytes, size_t length) {
    const uint32_t size = static_cast<uint32_t>(kWindowIconSize);
    uint32_t width = 0;
    uint32_t height = 0;
    return pngSize(bytes, length, &width, &height) && width == size && height == size &&
           pngChunksFit(bytes, length);
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
