// Command line, display-mode ladder and platform start-up.
#include "app/display.h"

#include <SDL/SDL.h>
#include <SDL/SDL_opengl.h>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "app/display_driver.h"
#include "app/quit_signal.h"
#include "app/random.h"
#include "app/services.h"
#include "app/window_icon.h"
#include "audio/audio_device.h"
#include "render/text_label.h"

const DisplayMode kDisplayLadder[kDisplayLadderSize] = {
    {3840, 2160, true}, {3440, 1440, true}, {2560, 1600, true}, {2560, 1440, true}, {2560, 1080, true},
    {2048, 1536, true}, {2048, 1080, true}, {1920, 1200, true}, {1920, 1080, true}, {1680, 1050, true},
    {1600, 1200, true}, {1600, 900, true},  {1536, 864, true},  {1440, 900, true},  {1400, 1050, true},
    {1366, 768, true},  {1360, 768, true},  {1280, 1024, true}, {1280, 800, true},  {1280, 768, true},
    {1280, 720, true},  {1024, 768, true},  {800, 600, true},   {640, 480, true},   {320, 240, true},
    {800, 450, false},  {640, 360, false},  {320, 180, false},
};

namespace {
// A width or height from the command line: read as atoi reads it (leading blanks, a sign, digits, and
// whatever follows ignored), but with the value checked before it is narrowed, so that 4294967936 is
// out of range instead of wrapping to 640.
bool parseSize(const char* text, int* size) {
    errno = 0;
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text || errno == ERANGE || value < 100 || value > 9999) {
        return false;
    }
    *size = static_cast<int>(value);
    return true;
}
} // namespace

void setInitialGlState() {
    glDisable(GL_POINT_SMOOTH);
    glDisable(GL_LINE_SMOOTH);
    glDisable(GL_POLYGON_SMOOTH);
    glDisable(GL_DITHER);
    glShadeModel(GL_SMOOTH);
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, 1);
    glDisable(GL_NORMALIZE);
    glFrontFace(GL_CCW);
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);
    glAlphaFunc(GL_NOTEQUAL, 0);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_BLEND);
}

DisplayRequest parseDisplayRequest(int argc, const char* const* argv) {
    DisplayRequest request;
    if (argc != 4) {
        return request;
    }
    const char* kind = argv[1];
    const bool window = std::strcmp(kind, "w") == 0;
    const bool fullscreen = std::strcmp(kind, "f") == 0;
    int width = 0;
    int height = 0;
    if ((window || fullscreen) && parseSize(argv[2], &width) && parseSize(argv[3], &height)) {
        request.valid = true;
        request.mode = {width, height, fullscreen};
    }
    return request;
}

bool openFirstDisplay(const DisplayRequest& request, const DisplayOpener& opener) {
    static const char* const kCaption = "taVok";
    if (request.valid && opener(kCaption, request.mode.width, request.mode.height, request.mode.fullscreen)) {
        return true;
    }
    for (const DisplayMode& mode : kDisplayLadder) {
        if (opener(kCaption, mode.width, mode.height, mode.fullscreen)) {
            return true;
        }
    }
    return false;
}

bool openDisplay(const char* caption, int width, int height, bool fullscreen) {
    if (initSdlQuietly(SDL_INIT_TIMER | SDL_INIT_AUDIO | SDL_INIT_VIDEO | SDL_INIT_JOYSTICK) != 0) {
        return false;
    }
    // A terminal, the bare console or an off-screen buffer is no display: this rung fails like any other.
    if (!sdlReachedAScreen()) {
        quitSdlQuietly();
        return false;
    }
    catchEndingSignals();
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 1);
    // Every attempt starts SDL afresh, and SDL takes the icon only before the window opens.
    setWindowIcon();
    const Uint32 flags = fullscreen ? (SDL_FULLSCREEN | SDL_OPENGL) : SDL_OPENGL;
    if (SDL_SetVideoMode(width, height, 32, flags) == nullptr) {
        SDL_Quit();
        return false;
    }
    windowWidth = static_cast<float>(width);
    windowHeight = static_cast<float>(height);
    SDL_WM_SetCaption(caption, caption);
    if (fullscreen) {
        SDL_ShowCursor(0);
    }
    setInitialGlState();
    seedRandom();
    return true;
}

void closePlatform() {
    purgeUnusedGlyphSets();
    closeAudio();
    SDL_Quit();
}
