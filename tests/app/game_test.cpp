#include <gtest/gtest.h>

#include <SDL/SDL.h>
#include <SDL/SDL_opengl.h>
#include <cstdlib>
#include <string>

#include "app/fatal.h"
#include "app/frame_clock.h"
#include "app/game.h"
#include "app/services.h"
#include "app/viewport.h"
#include "audio/audio_device.h"
#include "input/joystick_device.h"
#include "input/key_state.h"
#include "tests/support/gl_test_context.h"
#include "tests/support/scratch_files.h"

namespace {
constexpr float kFrame = 1.0f / 60;

// Runs a real Game in the test window from the build directory, where the game's res/ lives, and feeds
// it events through SDL's own queue, one main-loop pass at a time.
class GameTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* buildDir = getenv("TAVOK_BUILD_DIR");
        directory_ = new WorkingDirectory(buildDir != nullptr ? buildDir : ".");
        SDL_Event stale;
        while (SDL_PollEvent(&stale)) {
        }
    }
    void TearDown() override {
        if (started_) {
            game.shutdown();
            closeAudio();
        }
        delete directory_;
        messageText.clear();
        gameMode = kModePlay;
    }

    // Opens the window and starts the game as if the window measured width x height.
    bool start(int width = 640, int height = 360) {
        if (!openTestWindow(640, 360)) {
            return false;
        }
        windowWidth = static_cast<float>(width);
        windowHeight = static_cast<float>(height);
        game.init();
        started_ = true;
        return true;
    }

    static void key(Uint8 type, int symbol) {
        SDL_Event event = {};
        event.type = type;
        event.key.keysym.sym = static_cast<SDLKey>(symbol);
        ASSERT_EQ(SDL_PushEvent(&event), 0);
    }
    static void push(SDL_Event event) { ASSERT_EQ(SDL_PushEvent(&event), 0); }

    std::optional<bool> pass() { return game.runPass(kFrame); }

    Game game;

private:
    WorkingDirectory* directory_ = nullptr;
    bool started_ = false;
};
} // namespace

TEST_F(GameTest, InitCreatesEveryServiceAndEntersPlayAndShutdownClearsThem) {
    messageText = "left over";
    ASSERT_TRUE(start());
    EXPECT_EQ(gameMode, kModePlay);
    EXPECT_TRUE(messageText.empty());
    EXPECT_NE(theCamera, nullptr);
    ASSERT_NE(theViewport, nullptr);
    EXPECT_EQ(theViewport->width, 640.0f);
    EXPECT_EQ(theViewport->height, 360.0f);
    EXPECT_NE(theKeyState, nullptr);
    ASSERT_NE(theJoysticks[0], nullptr);
    ASSERT_NE(theJoysticks[1], nullptr);
    EXPECT_EQ(theJoysticks[0]->index(), 0);
    EXPECT_EQ(theJoysticks[1]->index(), 1);
    EXPECT_NE(theMusicPlayer, nullptr);
    EXPECT_NE(theResourceManager, nullptr);
    ASSERT_NE(theFrameClock, nullptr);
    EXPECT_EQ(theFrameClock->targetFps, 60.0f);
    EXPECT_NE(theWorld, nullptr);

    game.shutdown();
    EXPECT_EQ(theCamera, nullptr);
    EXPECT_EQ(theViewport, nullptr);
    EXPECT_EQ(theKeyState, nullptr);
    EXPECT_EQ(theJoysticks[0], nullptr);
    EXPECT_EQ(theJoysticks[1], nullptr);
    EXPECT_EQ(theMusicPlayer, nullptr);
    EXPECT_EQ(theResourceManager, nullptr);
    EXPECT_EQ(theFrameClock, nullptr);
    EXPECT_EQ(theWorld, nullptr);
    // A second shutdown (the fixture's) finds nothing left to free.
}

TEST_F(GameTest, PlayDrawsOverTheWholeWindowAndSwaps) {
    ASSERT_TRUE(start());
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    EXPECT_FALSE(pass().has_value());
    // The blue is gone everywhere: the frame's own clearing covers the window.
    EXPECT_EQ(countPixels(0, 0, 640, 360, {0, 0, 255, 255}, 0), 0);
}

TEST_F(GameTest, EscapeHeldIntoThePauseMenuDoesNotBounceBack) {
    ASSERT_TRUE(start());
    key(SDL_KEYDOWN, SDLK_ESCAPE);
    EXPECT_FALSE(pass().has_value());
    EXPECT_EQ(gameMode, kModePause);
    // Still held: the menu does not see it.
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(pass().has_value());
        EXPECT_EQ(gameMode, kModePause);
    }
    key(SDL_KEYUP, SDLK_ESCAPE);
    EXPECT_FALSE(pass().has_value());
    EXPECT_EQ(gameMode, kModePause);
    key(SDL_KEYDOWN, SDLK_ESCAPE);
    EXPECT_FALSE(pass().has_value());
    EXPECT_EQ(gameMode, kModePlay);
}

TEST_F(GameTest, ThePauseMenuStartsAtTheCentreEachTimeAndQuitsFromTheCross) {
    ASSERT_TRUE(start());
    key(SDL_KEYDOWN, SDLK_ESCAPE);
    pass();
    key(SDL_KEYUP, SDLK_ESCAPE);
    key(SDL_KEYDOWN, SDLK_RIGHT);
    pass();
    // Back to play, and into the menu again: the pointer is reset to the centre, so confirm resumes.
    key(SDL_KEYDOWN, SDLK_ESCAPE);
    pass();
    ASSERT_EQ(gameMode, kModePlay);
    key(SDL_KEYUP, SDLK_ESCAPE);
    key(SDL_KEYDOWN, SDLK_ESCAPE);
    pass();
    ASSERT_EQ(gameMode, kModePause);
    key(SDL_KEYDOWN, SDLK_RETURN);
    EXPECT_FALSE(pass().has_value());
    EXPECT_EQ(gameMode, kModePlay);

    key(SDL_KEYUP, SDLK_ESCAPE);
    key(SDL_KEYDOWN, SDLK_ESCAPE);
    pass();
    key(SDL_KEYUP, SDLK_RIGHT);
    key(SDL_KEYDOWN, SDLK_RIGHT);
    pass();
    key(SDL_KEYUP, SDLK_RETURN);
    key(SDL_KEYDOWN, SDLK_RETURN);
    const std::optional<bool> end = pass();
    ASSERT_TRUE(end.has_value());
    EXPECT_TRUE(*end);
    EXPECT_EQ(gameMode, kModeEnd);
}

TEST_F(GameTest, EventsReachTheirOwnersAndTheRestIsDropped) {
    ASSERT_TRUE(start());
    SDL_Event event = {};
    event.type = SDL_JOYBUTTONDOWN;
    event.jbutton.which = 1;
    event.jbutton.button = 20;
    push(event);
    event.jbutton.which = 0;
    event.jbutton.button = 25;
    push(event);
    SDL_Event mouse = {};
    mouse.type = SDL_MOUSEBUTTONDOWN;
    mouse.button.button = SDL_BUTTON_LEFT;
    push(mouse);
    SDL_Event resize = {};
    resize.type = SDL_VIDEORESIZE;
    resize.resize.w = 100;
    resize.resize.h = 100;
    push(resize);
    key(SDL_KEYDOWN, SDLK_q);
    EXPECT_FALSE(pass().has_value());
    EXPECT_TRUE(theJoysticks[1]->button(20));
    EXPECT_FALSE(theJoysticks[1]->button(25));
    EXPECT_TRUE(theJoysticks[0]->button(25));
    EXPECT_FALSE(theJoysticks[0]->button(20));
    EXPECT_TRUE(theKeyState->isDown(SDLK_q));
    EXPECT_EQ(theViewport->width, 640.0f);
    EXPECT_EQ(gameMode, kModePlay);
}

TEST_F(GameTest, WindowsNarrowerThanTwoToThreeShowTheAspectMessage) {
    const struct {
        int width, height;
        bool fails;
    } table[] = {{1080, 1920, true}, {1200, 1800, true}, {1201, 1800, false}, {640, 360, false}};
    for (const auto& row : table) {
        ASSERT_TRUE(start(row.width, row.height));
        const std::string size = std::to_string(row.width) + "x" + std::to_string(row.height);
        if (row.fails) {
            EXPECT_EQ(gameMode, kModeMessage) << size;
            EXPECT_NE(messageText.find("invalid aspect ratio"), std::string::npos) << size;
            // The message screen has been entered.
            EXPECT_EQ(theViewport->width, 32.0f) << size;
            EXPECT_EQ(theFrameClock->targetFps, 24.0f) << size;
            EXPECT_FALSE(glCapabilityOn(GL_CULL_FACE)) << size;
        } else {
            EXPECT_EQ(gameMode, kModePlay) << size;
            EXPECT_EQ(theViewport->width, static_cast<float>(row.width)) << size;
        }
        game.shutdown();
        closeAudio();
        glEnable(GL_CULL_FACE);
    }
}

TEST_F(GameTest, ClosingTheWindowOnTheMessageScreenIsAnOrdinaryEnd) {
    ASSERT_TRUE(start(600, 900));
    ASSERT_EQ(gameMode, kModeMessage);
    SDL_Event quit = {};
    quit.type = SDL_QUIT;
    push(quit);
    // The whole main loop, clock included: the first pass ends it.
    EXPECT_TRUE(game.run());
}

TEST_F(GameTest, EscapeOnTheMessageScreenEndsFromTheFatalMessage) {
    ASSERT_TRUE(start(600, 900));
    ASSERT_EQ(gameMode, kModeMessage);
    // Pressed and released before the pass: never seen.
    key(SDL_KEYDOWN, SDLK_ESCAPE);
    key(SDL_KEYUP, SDLK_ESCAPE);
    EXPECT_FALSE(pass().has_value());
    EXPECT_EQ(gameMode, kModeMessage);
    // The screen is red.
    EXPECT_EQ(readPixel(5, 5).r, 255);
    EXPECT_EQ(readPixel(5, 5).g, 0);
    key(SDL_KEYDOWN, SDLK_ESCAPE);
    EXPECT_FALSE(game.run());
    EXPECT_EQ(gameMode, kModeEndFatal);
}
