#include <gtest/gtest.h>

#include <SDL/SDL.h>

#include "input/key_state.h"

namespace {
SDL_Event keyEvent(Uint8 type, int key, int modifiers = KMOD_NONE) {
    SDL_Event event = {};
    event.type = type;
    event.key.keysym.sym = static_cast<SDLKey>(key);
    event.key.keysym.mod = static_cast<SDLMod>(modifiers);
    return event;
}
} // namespace

TEST(KeyState, HoldsAKeyFromItsKeyDownUntilItsKeyUp) {
    KeyState keys;
    EXPECT_FALSE(keys.isDown(SDLK_w));
    keys.handleKeyEvent(keyEvent(SDL_KEYDOWN, SDLK_w));
    keys.handleKeyEvent(keyEvent(SDL_KEYDOWN, SDLK_LEFT));
    EXPECT_TRUE(keys.isDown(SDLK_w));
    EXPECT_TRUE(keys.isDown(SDLK_LEFT));
    keys.handleKeyEvent(keyEvent(SDL_KEYUP, SDLK_w));
    EXPECT_FALSE(keys.isDown(SDLK_w));
    EXPECT_TRUE(keys.isDown(SDLK_LEFT));
    // A second key-up of a key no longer held changes nothing.
    keys.handleKeyEvent(keyEvent(SDL_KEYUP, SDLK_w));
    EXPECT_FALSE(keys.isDown(SDLK_w));
}

TEST(KeyState, AKeyPressedAndReleasedBetweenTwoFramesIsNeverSeen) {
    KeyState keys;
    keys.handleKeyEvent(keyEvent(SDL_KEYDOWN, SDLK_RETURN));
    keys.handleKeyEvent(keyEvent(SDL_KEYUP, SDLK_RETURN));
    EXPECT_FALSE(keys.isDown(SDLK_RETURN));
}

TEST(KeyState, IgnoresEventsThatAreNotKeys) {
    KeyState keys;
    SDL_Event motion = {};
    motion.type = SDL_MOUSEMOTION;
    // The bytes where a key event keeps its key symbol hold mouse coordinates here.
    motion.motion.x = SDLK_a;
    motion.motion.y = SDLK_a;
    keys.handleKeyEvent(motion);
    SDL_Event button = {};
    button.type = SDL_JOYBUTTONDOWN;
    button.jbutton.button = SDLK_RETURN;
    keys.handleKeyEvent(button);
    for (int key = 0; key < SDLK_LAST; ++key) {
        ASSERT_FALSE(keys.isDown(key)) << key;
    }
}

TEST(KeyState, AConsumedKeyStaysAbsentUntilPressedAnew) {
    KeyState keys;
    keys.handleKeyEvent(keyEvent(SDL_KEYDOWN, SDLK_ESCAPE));
    keys.consume(SDLK_ESCAPE);
    EXPECT_FALSE(keys.isDown(SDLK_ESCAPE));
    // Consuming an absent key does nothing.
    keys.consume(SDLK_ESCAPE);
    keys.consume(SDLK_q);
    EXPECT_FALSE(keys.isDown(SDLK_ESCAPE));
    // Held, it comes back only with a release and a new press.
    keys.handleKeyEvent(keyEvent(SDL_KEYUP, SDLK_ESCAPE));
    EXPECT_FALSE(keys.isDown(SDLK_ESCAPE));
    keys.handleKeyEvent(keyEvent(SDL_KEYDOWN, SDLK_ESCAPE));
    EXPECT_TRUE(keys.isDown(SDLK_ESCAPE));
}

TEST(KeyState, ShiftedLettersKeepTheirLowerCaseSymbol) {
    KeyState keys;
    keys.handleKeyEvent(keyEvent(SDL_KEYDOWN, SDLK_a, KMOD_LSHIFT));
    EXPECT_TRUE(keys.isDown(97));
    keys.handleKeyEvent(keyEvent(SDL_KEYUP, SDLK_a, KMOD_NONE));
    EXPECT_FALSE(keys.isDown(97));
}
