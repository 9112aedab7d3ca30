// Joystick buttons and hat directions.
#include "input/joystick_device.h"

#include <SDL/SDL.h>

JoystickDevice* theJoysticks[2] = {nullptr, nullptr};

namespace {
// Hat values and the directions they hold, as SDL reports them (SDL_HAT_UP is 1, RIGHT 2, DOWN 4,
// LEFT 8). Values not listed (impossible combinations) leave the directions as they were.
struct HatDirections {
    int value;
    bool left, right, up, down;
};
const HatDirections kHatTable[] = {
    {0, false, false, false, false}, // centred
    {1, false, false, true, false},  // up
    {2, false, true, false, false},  // right
    {3, false, true, true, false},   // right-up
    {4, false, false, false, true},  // down
    {6, false, true, false, true},   // right-down
    {8, true, false, false, false},  // left
    {9, true, false, true, false},   // left-up
    {12, true, false, false, true},  // left-down
};
} // namespace

JoystickDevice::JoystickDevice(int index) : index_(index) {
    // The browser edition reads its pads in the page (web/gamepad_reader.js), which knows the standard
    // mapping and pads plugged in later, and feeds the devices as events would; the browser's SDL would
    // read the d-pad as buttons.
#ifndef __EMSCRIPTEN__
    if (index < SDL_NumJoysticks()) {
        SDL_JoystickEventState(SDL_ENABLE);
        handle_ = SDL_JoystickOpen(index);
    }
#endif
}

JoystickDevice::~JoystickDevice() {
    if (handle_ != nullptr) {
        SDL_JoystickClose(handle_);
    }
}

void JoystickDevice::setButton(int i, bool pressed) {
    if (i >= 0 && i < kButtonCount) {
        buttons_[i] = pressed;
    }
}

void JoystickDevice::handleJoystickEvent(const SDL_Event& event) {
    switch (event.type) {
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP:
        if (event.jbutton.which == index_) {
            setButton(event.jbutton.button, event.type == SDL_JOYBUTTONDOWN);
        }
        break;
    case SDL_JOYHATMOTION:
        if (event.jhat.which == index_) {
            for (const HatDirections& entry : kHatTable) {
                if (entry.value == event.jhat.value) {
                    hatLeft = entry.left;
                    hatRight = entry.right;
                    hatUp = entry.up;
                    hatDown = entry.down;
                    break;
                }
            }
        }
        break;
    default:
        break; // axes and balls take no part in any action
    }
}
