// Folding key events into the held-key set.
#include "input/key_state.h"

#include <SDL/SDL.h>

KeyState* theKeyState = nullptr;

void KeyState::handleKeyEvent(const SDL_Event& event) {
    if (event.type == SDL_KEYDOWN) {
        press(event.key.keysym.sym);
    } else if (event.type == SDL_KEYUP) {
        release(event.key.keysym.sym);
    }
}
