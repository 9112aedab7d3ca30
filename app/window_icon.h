// The picture the window manager shows for the game's window (task bar, window switcher), read from the
// game's own data like every other picture.
#pragma once

#include <string>

struct SDL_Surface;

// The icon's picture from the resource file at path: a PNG of kWindowIconSize square. Null when the
// file is missing, damaged, of another kind or size; the caller frees a picture with SDL_FreeSurface.
SDL_Surface* loadWindowIcon(const std::string& path);

// Hands the icon of res/ to SDL. Must come after SDL_Init and before SDL_SetVideoMode, for every window
// SDL opens. The icon is optional: without a usable file the window simply opens without it. True when
// an icon was set.
bool setWindowIcon();
