// A real SDL 1.2 OpenGL window for tests that draw. Under `make test` it lives on a private X server
// (Xvfb) with Mesa's software renderer; pixels are read back with glReadPixels, so rendering is judged
// on what it puts on screen.
#pragma once

#include <cstdint>

struct Rgba {
    uint8_t r, g, b, a;
};

// Initialises SDL (video, audio, timer, joystick) once per process. False when no display is reachable.
bool ensureSdl();
// Opens (or resizes) the test window to width x height with the game's initial GL state and clears it
// to black; sets the program-wide window size. Returns false when no GL window can be opened.
bool openTestWindow(int width, int height);
// Closes everything ensureSdl opened (called once by the test main).
void shutdownTestPlatform();

// The pixel at (x, y) in window pixels, origin at the bottom left as OpenGL counts.
Rgba readPixel(int x, int y);
// Whether a GL capability is on (glIsEnabled).
bool glCapabilityOn(unsigned capability);
// Counts the pixels within the rectangle [x0, x1) x [y0, y1) that match the colour within tolerance.
int countPixels(int x0, int y0, int x1, int y1, Rgba colour, int tolerance = 8);

// Skips the current test when no GL window can be had (no display at all); under `make test` there is
// always one, so this only matters when a developer runs a binary by hand without X.
#define REQUIRE_GL_WINDOW(width, height)                                                                 \
    do {                                                                                                 \
        if (!openTestWindow(width, height)) {                                                            \
            GTEST_SKIP() << "no OpenGL window available";                                               \
        }                                                                                                \
    } while (0)
