// Included ahead of every source file of the browser edition (web/web.cmake). The browser's SDL keeps
// its memory streams on the JavaScript side and hands out only a number for each, so SDL's
// SDL_RWclose macro, which calls through the stream's own function table, would call nothing there;
// the stream is given back with SDL_FreeRW instead.
#pragma once

#include <SDL/SDL_rwops.h>

#undef SDL_RWclose
#define SDL_RWclose(ctx) (SDL_FreeRW(ctx), 0)

// A picture it decodes has its pixels in memory already, and its canvas is gone once a GL window is
// open, so locking it (which would read the canvas back) fails; nothing needs a lock there.
#include <SDL/SDL_surface.h>

#undef SDL_MUSTLOCK
#define SDL_MUSTLOCK(surface) 0

// The browser's SDL_image has one decoder for every format and no IMG_LoadPNG_RW. The game has already
// refused everything but a PNG before it decodes, so the one decoder reads exactly what the desktop's PNG
// reader would.
#include <SDL/SDL_image.h>

#define IMG_LoadPNG_RW(src) IMG_Load_RW((src), 0)
