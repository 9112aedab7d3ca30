// Which fullscreen rungs of the display ladder the system can really show. Classic SDL 1.2 refuses a
// fullscreen mode larger than the screen, but sdl12-compat accepts any size and scales it to the screen,
// so there the ladder's top rung would always open and the game would draw four times the pixels the
// screen shows. The ladder asks first and skips the rungs no listed mode holds.
#pragma once

#include <utility>
#include <vector>

#include "app/display.h"

struct SDL_Rect;

class FullscreenSizes {
public:
    void add(int width, int height) { sizes_.emplace_back(width, height); }
    bool empty() const { return sizes_.empty(); }
    // Windows always; a fullscreen mode when some listed size is at least as wide and as tall, or when
    // nothing is known about the screen (then every rung is tried, as SDL alone decides).
    bool shows(const DisplayMode& mode) const;

private:
    std::vector<std::pair<int, int>> sizes_;
};

// From what SDL reports: the list SDL_ListModes returned (null for none, (SDL_Rect**)-1 for "any size
// will do") and the desktop's size from SDL_GetVideoInfo. Without a usable list the desktop's size is
// the one size the screen shows; a zero desktop size adds nothing.
FullscreenSizes fullscreenSizesFrom(SDL_Rect** modes, int desktopWidth, int desktopHeight);

// Starts SDL's video, asks for the OpenGL fullscreen modes and the desktop's size before any mode is
// set, and leaves the video running for the first rung's openDisplay, whose SDL_Init then has nothing
// left to start. Empty, with SDL shut down, when the video cannot start (no display).
FullscreenSizes queryFullscreenSizes();
