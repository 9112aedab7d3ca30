// The test window and pixel read-back.
#include "tests/support/gl_test_context.h"

#include <SDL/SDL.h>
#include <SDL/SDL_opengl.h>
#include <cstdio>
#include <cstdlib>

#include "app/display.h"
#include "app/services.h"

namespace {
bool sdlStarted = false;
bool sdlFailed = false;
int currentWidth = 0;
int currentHeight = 0;

} // namespace

bool ensureSdl() {
    if (sdlStarted) {
        return true;
    }
    if (sdlFailed) {
        return false;
    }
    if (getenv("SDL_AUDIODRIVER") == nullptr) {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
    }
    if (SDL_Init(SDL_INIT_TIMER | SDL_INIT_AUDIO | SDL_INIT_VIDEO | SDL_INIT_JOYSTICK) != 0) {
        fprintf(stderr, "SDL_Init failed: %s\n", SDL_GetError());
        sdlFailed = true;
        return false;
    }
    sdlStarted = true;
    return true;
}

bool openTestWindow(int width, int height) {
    if (!ensureSdl()) {
        return false;
    }
    if (width != currentWidth || height != currentHeight) {
        SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 1);
        if (SDL_SetVideoMode(width, height, 32, SDL_OPENGL) == nullptr) {
            fprintf(stderr, "SDL_SetVideoMode failed: %s\n", SDL_GetError());
            return false;
        }
        currentWidth = width;
        currentHeight = height;
        // Mesa keeps drawing into the old size until the first buffer swap after a resize.
        SDL_GL_SwapBuffers();
    }
    windowWidth = static_cast<float>(width);
    windowHeight = static_cast<float>(height);
    setInitialGlState();
    glViewport(0, 0, width, height);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    return true;
}

bool haveDisplay() {
    return getenv("DISPLAY") != nullptr;
}

void shutdownTestPlatform() {
    if (sdlStarted) {
        SDL_Quit();
        sdlStarted = false;
        currentWidth = currentHeight = 0;
    }
}

Rgba readPixel(int x, int y) {
    Rgba pixel = {0, 0, 0, 0};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, &pixel);
    return pixel;
}

bool glCapabilityOn(unsigned capability) {
    return glIsEnabled(capability) == GL_TRUE;
}

int countPixels(int x0, int y0, int x1, int y1, Rgba colour, int tolerance) {
    const int w = x1 - x0;
    const int h = y1 - y0;
    if (w <= 0 || h <= 0) {
        return 0;
    }
    uint8_t* pixels = static_cast<uint8_t*>(malloc(static_cast<size_t>(w) * h * 4));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(x0, y0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    int count = 0;
    for (int i = 0; i < w * h; ++i) {
        const uint8_t* p = pixels + i * 4;
        if (abs(p[0] - colour.r) <= tolerance && abs(p[1] - colour.g) <= tolerance &&
            abs(p[2] - colour.b) <= tolerance) {
            ++count;
        }
    }
    free(pixels);
    return count;
}
