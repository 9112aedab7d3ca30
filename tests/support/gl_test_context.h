// A real SDL 1.2 OpenGL window for tests that draw. Under `make test` it lives on a private X server
// (Xvfb) with Mesa's software renderer; pixels are read back with glReadPixels, so rendering is judged
// on what it puts on screen.
#pragma once

#include <cstdint>

struct Rgba {
    uint8_t r, g, b, a;
};

// The opaque colours the drawing tests paint with and look for.
constexpr Rgba kRed = {255, 0, 0, 255};
constexpr Rgba kGreen = {0, 255, 0, 255};
constexpr Rgba kBlue = {0, 0, 255, 255};
constexpr Rgba kYellow = {255, 255, 0, 255};
constexpr Rgba kWhite = {255, 255, 255, 255};
constexpr Rgba kBlack = {0, 0, 0, 255};

// Initialises SDL (video, audio, timer, joystick) once per process. False when no display is reachable.
bool ensureSdl();
// Opens (or resizes) the test window to width x height with the game's initial GL state and clears it
// to black; sets the program-wide window size. Returns false when no GL window can be opened.
bool openTestWindow(int width, int height);
// Whether an X display is named in the environment.
bool haveDisplay();
// Closes everything ensureSdl opened (called once by the test main).
void shutdownTestPlatform();

// The pixel at (x, y) in window pixels, origin at the bottom left as OpenGL counts.
Rgba readPixel(int x, int y);
// Whether a GL capability is on (glIsEnabled).
bool glCapabilityOn(unsigned capability);
// Counts the pixels within the rectangle [x0, x1) x [y0, y1) that match the colour within tolerance.
int countPixels(int x0, int y0, int x1, int y1, Rgba colour, int tolerance = 8);

// Opens the test window or ends the current test: a failure when a display is set (under `make test`
// there always is one, so a window that will not open is a real fault), a skip when a developer runs a
// binary by hand without any X server.
#define REQUIRE_GL_WINDOW(width, height)                                                                     \
    do {                                                                                                     \
        if (!openTestWindow(width, height)) {                                                                \
            if (haveDisplay()) {                                                                             \
                FAIL() << "no OpenGL window could be opened";                                                \
            }                                                                                                \
            GTEST_SKIP() << "no display to open an OpenGL window on";                                        \
        }                                                                                                    \
    } while (0)
