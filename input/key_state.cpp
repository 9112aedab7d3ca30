// Folding key events into the held-key set.
#include "input/key_state.h"

#include <SDL/SDL.h>

namespace {
#ifdef __EMSCRIPTEN__
// The browser's SDL numbers the keys that have no character as scan codes with bit 10 set; the game
// keeps the desktop's numbers for the arrows.
int keySymbol(const SDL_Event& event) {
    switch (event.key.keysym.sym) {
    case 1024 + 82:
        return 273; // up
    case 1024 + 81:
        return 274; // down
    case 1024 + 79:
        return 275; // right
    case 1024 + 80:
        return 276; // left
    default:
        return event.key.keysym.sym;
    }
}
#else
int keySymbol(const SDL_Event& event) {
    return event.key.keysym.sym;
}
#endif
} // namespace

KeyState* theKeyState = nullptr;

void KeyState::handleKeyEvent(const SDL_Event& event) {
    if (event.type == SDL_KEYDOWN) {
        press(keySymbol(event));
    } else if (event.type == SDL_KEYUP) {
        release(keySymbol(event));
    }
}
