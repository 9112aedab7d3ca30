// Opening the one game window: the command-line request, the ladder of display modes walked until a
// mode opens, and the platform start-up and shutdown around it.
#pragma once

#include <functional>

struct DisplayMode {
    int width;
    int height;
    bool fullscreen;
};

// What the command line asks for. Only "w" or "f" followed by a width and a height in 100..9999, and
// nothing more, makes a request; anything else is ignored without a word.
struct DisplayRequest {
    bool valid = false;
    DisplayMode mode = {0, 0, false};
};

DisplayRequest parseDisplayRequest(int argc, const char* const* argv);

// The modes tried when there is no request or it fails: the largest fullscreen mode the system accepts,
// else one of three small 16:9 windows.
constexpr int kDisplayLadderSize = 28;
extern const DisplayMode kDisplayLadder[kDisplayLadderSize];

// Tries one display mode; true when the window is open and ready to draw.
using DisplayOpener = std::function<bool(const char* caption, int width, int height, bool fullscreen)>;

class FullscreenSizes;

// Tries the request (when valid), then the ladder from its top, until the opener succeeds. False when
// nothing opens. Fullscreen modes the screen cannot show (app/fullscreen_sizes.h) are skipped, the
// request among them; without the sizes every mode is tried.
bool openFirstDisplay(const DisplayRequest& request, const FullscreenSizes& screen,
                      const DisplayOpener& opener);
bool openFirstDisplay(const DisplayRequest& request, const DisplayOpener& opener);

// Starts SDL afresh (but for the video that queryFullscreenSizes left running for the first attempt) and
// opens one OpenGL window with the game's initial GL state; stores the window size and seeds the random
// generator. On failure SDL is left shut down (or never started).
bool openDisplay(const char* caption, int width, int height, bool fullscreen);

// The GL state every other part of the game may take for granted once the window is open.
void setInitialGlState();

// The last step before the process ends: unused glyph sets, the audio device, SDL itself.
void closePlatform();
