#include <gtest/gtest.h>

#include <SDL/SDL.h>
#include <SDL/SDL_syswm.h>
#include <cstdlib>
#include <string>

#include "input/actions.h"
#include "input/key_state.h"
#include "tests/support/gl_test_context.h"

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

// A real Shift+A typed at the X server into the test window, as SDL delivers it: the key events carry
// the letter's lower-case symbol with the shift modifier set, the KeyState holds 'a' until the key goes
// up, and the game reads it as the left action. Classic SDL 1.2 names the X window that takes the focus
// wmwindow; sdl12-compat has only the one window and leaves wmwindow zero.
TEST(KeyState, ShiftedLettersKeepTheirLowerCaseSymbol) {
    REQUIRE_GL_WINDOW(64, 64);
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    ASSERT_EQ(SDL_GetWMInfo(&info), 1);
    const unsigned long focusWindow =
        info.info.x11.wmwindow != 0 ? info.info.x11.wmwindow : info.info.x11.window;
    ASSERT_NE(focusWindow, 0u);
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
    }
    const std::string window = std::to_string(focusWindow);
    ASSERT_EQ(std::system(("xdotool windowfocus --sync " + window + " keydown shift+a").c_str()), 0);
    KeyState keys;
    // The game's own key state for the actions, removed again however the test ends.
    struct Installed {
        explicit Installed(KeyState* keys) { theKeyState = keys; }
        ~Installed() { theKeyState = nullptr; }
    } installed(&keys);
    bool letterDown = false;
    bool shifted = false;
    for (int wait = 0; wait < 300 && !letterDown; ++wait) {
        while (SDL_PollEvent(&event)) {
            keys.handleKeyEvent(event);
            if (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_a) {
                letterDown = true;
                shifted = (event.key.keysym.mod & KMOD_SHIFT) != 0;
            }
        }
        SDL_Delay(10);
    }
    const bool leftWhileHeld = actionLeft();
    ASSERT_EQ(std::system("xdotool keyup shift+a"), 0);
    ASSERT_TRUE(letterDown) << "no key event for the letter arrived";
    EXPECT_TRUE(shifted) << "the letter came without the shift modifier";
    EXPECT_TRUE(leftWhileHeld) << "Shift+A is not the left action";
    EXPECT_FALSE(keys.isDown('A'));
    bool released = false;
    for (int wait = 0; wait < 300 && !released; ++wait) {
        while (SDL_PollEvent(&event)) {
            keys.handleKeyEvent(event);
            released = released || (event.type == SDL_KEYUP && event.key.keysym.sym == SDLK_a);
        }
        SDL_Delay(10);
    }
    ASSERT_TRUE(released);
    EXPECT_FALSE(actionLeft());
    EXPECT_FALSE(keys.isDown('a'));
}
