// Whether SDL reached a screen at all. Without one (no X server or Wayland compositor, as over ssh) SDL
// falls back on drivers that show nothing a player could use: SDL 1.2 draws on the terminal through
// libcaca or aalib, or on the bare frame buffer; SDL2 (under sdl12-compat) opens an invisible
// off-screen window, in which the game would run unseen for ever. None of them is a display.
#pragma once

#include <cstdint>

// False for the video drivers that draw on a terminal, on the bare console, off screen or nowhere.
bool isScreenDriver(const char* name);
// Whether the video driver of the running SDL is one; true when SDL names none (it decides then by
// whether the window opens).
bool sdlReachedAScreen();
// SDL_Init and SDL_Quit with the process's standard output and error pointed at /dev/null meanwhile:
// SDL's terminal drivers paint the terminal with escape codes as they start and stop, and SDL2 prints
// its own complaints when it finds no Wayland socket. The game writes nothing there itself.
int initSdlQuietly(uint32_t flags);
void quitSdlQuietly();
