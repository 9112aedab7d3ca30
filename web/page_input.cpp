// Folding the page's input into the game's input state, and the window following the canvas.
#include "web/page_input.h"

#include <emscripten.h>

#include <SDL/SDL.h>
#include <SDL/SDL_opengl.h>

#include "app/services.h"
#include "app/viewport.h"
#include "audio/music_player.h"
#include "input/actions.h"
#include "input/joystick_device.h"
#include "input/key_state.h"

extern "C" {
// web/tavok_library.js
void tavok_before_pass();
int tavok_canvas_width();
int tavok_canvas_height();
}

namespace {
// As the main loop hands a joystick event to both devices; each keeps only its own.
void feedJoysticks(const SDL_Event& event) {
    for (JoystickDevice* device : theJoysticks) {
        if (device != nullptr) {
            device->handleJoystickEvent(event);
        }
    }
}
} // namespace

void readPageInput() {
    tavok_before_pass();
    followCanvasSize(tavok_canvas_width(), tavok_canvas_height());
}

bool followCanvasSize(int width, int height) {
    if (width <= 0 || height <= 0 ||
        (static_cast<float>(width) == windowWidth && static_cast<float>(height) == windowHeight)) {
        return false;
    }
    windowWidth = static_cast<float>(width);
    windowHeight = static_cast<float>(height);
    // The message screen draws on its own grid of character cells whatever the window's size.
    if (theViewport != nullptr && gameMode != kModeMessage) {
        theViewport->width = windowWidth;
        theViewport->height = windowHeight;
    }
    glViewport(0, 0, width, height);
    return true;
}

// Called by the page (web/touch_controls.js, web/gamepad_reader.js, web/page_life.js).
extern "C" {
// A key symbol of the game's bindings (input/actions.h) pressed (1) or released (0).
EMSCRIPTEN_KEEPALIVE void tavok_page_key(int key, int pressed) {
    if (theKeyState == nullptr) {
        return;
    }
    if (pressed != 0) {
        theKeyState->press(key);
    } else {
        theKeyState->release(key);
    }
}

// A pad's d-pad and stick together, as a hat value (SDL_HAT_UP 1, RIGHT 2, DOWN 4, LEFT 8).
EMSCRIPTEN_KEEPALIVE void tavok_pad_hat(int device, int value) {
    SDL_Event event = {};
    event.type = SDL_JOYHATMOTION;
    event.jhat.which = static_cast<Uint8>(device);
    event.jhat.value = static_cast<Uint8>(value);
    feedJoysticks(event);
}

EMSCRIPTEN_KEEPALIVE void tavok_pad_button(int device, int button, int pressed) {
    SDL_Event event = {};
    event.type = pressed != 0 ? SDL_JOYBUTTONDOWN : SDL_JOYBUTTONUP;
    event.jbutton.which = static_cast<Uint8>(device);
    event.jbutton.button = static_cast<Uint8>(button);
    feedJoysticks(event);
}

// The page was hidden. During play this is Escape: the next pass (once the page shows again) opens
// the pause menu. A hidden page runs no passes, so the music is paused here and now rather than by the
// play screen's leave hook at that pass.
EMSCRIPTEN_KEEPALIVE void tavok_page_hidden() {
    if (gameMode != kModePlay || theKeyState == nullptr) {
        return;
    }
    theKeyState->press(kKeyEscape);
    if (theMusicPlayer != nullptr) {
        theMusicPlayer->pauseMusic();
    }
}
}
