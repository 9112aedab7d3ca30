// The fullscreen sizes the system lists, asked before the display ladder is walked.
#include "app/fullscreen_sizes.h"

#include <SDL/SDL.h>

#include "app/display_driver.h"

bool FullscreenSizes::shows(const DisplayMode& mode) const {
    if (!mode.fullscreen || sizes_.empty()) {
        return true;
    }
    for (const auto& size : sizes_) {
        if (mode.width <= size.first && mode.height <= size.second) {
            return true;
        }
    }
    return false;
}

FullscreenSizes fullscreenSizesFrom(SDL_Rect** modes, int desktopWidth, int desktopHeight) {
    FullscreenSizes sizes;
    const bool anySize = modes == reinterpret_cast<SDL_Rect**>(-1);
    if (modes != nullptr && !anySize) {
        for (int i = 0; modes[i] != nullptr; ++i) {
            if (modes[i]->w > 0 && modes[i]->h > 0) {
                sizes.add(modes[i]->w, modes[i]->h);
            }
        }
    }
    if (sizes.empty() && desktopWidth > 0 && desktopHeight > 0) {
        sizes.add(desktopWidth, desktopHeight);
    }
    return sizes;
}

FullscreenSizes queryFullscreenSizes() {
    // The subsystem alone, and shut down alone even after a failed start: sdl12-compat counts a
    // subsystem that failed to start as started until it is shut down, and the first rung's SDL_Init
    // would then skip it.
    if (initSdlQuietly(SDL_INIT_VIDEO) != 0) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return FullscreenSizes();
    }
    // A terminal or off-screen driver has no screen to measure; the first rung will refuse it too.
    if (!sdlReachedAScreen()) {
        quitSdlQuietly();
        return FullscreenSizes();
    }
    // The desktop's size is what SDL_GetVideoInfo reports until the first mode is set.
    const SDL_VideoInfo* info = SDL_GetVideoInfo();
    const int desktopWidth = info != nullptr ? info->current_w : 0;
    const int desktopHeight = info != nullptr ? info->current_h : 0;
    // No SDL_Quit here: on sdl12-compat over Debian 13's SDL2, a window opened after the video was
    // shut down and started again in the same process sometimes finds no OpenGL ("Could not load EGL
    // library"), so the common start, whose first rung opens, starts the video only once.
    return fullscreenSizesFrom(SDL_ListModes(nullptr, SDL_FULLSCREEN | SDL_OPENGL), desktopWidth,
                               desktopHeight);
}
