#include <gtest/gtest.h>

#include <SDL/SDL.h>
#include <SDL/SDL_opengl.h>
#include <algorithm>
#include <vector>

#include "app/pause_menu.h"
#include "app/services.h"
#include "app/viewport.h"
#include "input/joystick_device.h"
#include "input/key_state.h"
#include "tests/support/gl_test_context.h"

namespace {
class PauseMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        theKeyState = &keys;
        theJoysticks[0] = &pad0;
        theJoysticks[1] = &pad1;
        theViewport = &viewport;
        gameMode = kModePause;
    }
    void TearDown() override {
        theKeyState = nullptr;
        theJoysticks[0] = theJoysticks[1] = nullptr;
        theViewport = nullptr;
        gameMode = kModePlay;
    }

    bool openWindow(int width, int height) {
        viewport.width = static_cast<float>(width);
        viewport.height = static_cast<float>(height);
        if (!openTestWindow(width, height)) {
            return false;
        }
        // Mesa takes up a resized window's new size only at a swap; until then drawing is clipped to
        // the old one.
        SDL_GL_SwapBuffers();
        glClear(GL_COLOR_BUFFER_BIT);
        return true;
    }

    KeyState keys;
    JoystickDevice pad0{0};
    JoystickDevice pad1{1};
    Viewport viewport;
    PauseMenu menu;
};

struct Box {
    int x0 = 1 << 30, y0 = 1 << 30, x1 = -1, y1 = -1;
};

// The bounding box of the lit pixels within a rectangle, and whether every pixel in it is black or of
// the menu's green (red and blue equal, green twice as bright).
Box litBox(int x0, int y0, int x1, int y1, bool* onlyGreen) {
    const int w = x1 - x0, h = y1 - y0;
    std::vector<uint8_t> pixels(static_cast<size_t>(w) * h * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(x0, y0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    Box box;
    *onlyGreen = true;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const uint8_t* p = &pixels[(static_cast<size_t>(y) * w + x) * 4];
            if (p[0] == 0 && p[1] == 0 && p[2] == 0) {
                continue;
            }
            if (std::abs(p[0] - p[2]) > 1 || std::abs(2 * p[0] - p[1]) > 3) {
                *onlyGreen = false;
            }
            box.x0 = std::min(box.x0, x0 + x);
            box.y0 = std::min(box.y0, y0 + y);
            box.x1 = std::max(box.x1, x0 + x + 1);
            box.y1 = std::max(box.y1, y0 + y + 1);
        }
    }
    return box;
}
} // namespace

TEST_F(PauseMenuTest, EnteringResetsTheTrailAndConsumesWhatIsHeld) {
    ASSERT_TRUE(openWindow(320, 180));
    menu.selection = true;
    std::fill(std::begin(menu.trailPosition), std::end(menu.trailPosition), 0.5f);
    std::fill(std::begin(menu.trailBrightness), std::end(menu.trailBrightness), 0.5f);
    keys.press(27);
    keys.press(275);
    pad0.setButton(2, true);
    menu.enter();
    EXPECT_FALSE(menu.selection);
    for (int i = 0; i < PauseMenu::kCopies; ++i) {
        EXPECT_EQ(menu.trailPosition[i], 0.0f);
        EXPECT_EQ(menu.trailBrightness[i], 0.0f);
    }
    // The Escape that opened the menu and everything else held stays unseen.
    menu.frame(1.0f / 60);
    EXPECT_EQ(gameMode, kModePause);
    EXPECT_FALSE(menu.selection);
}

TEST_F(PauseMenuTest, EachPressOfADirectionTogglesOnce) {
    ASSERT_TRUE(openWindow(320, 180));
    menu.enter();
    keys.press(275); // Right, held over three frames
    for (int i = 0; i < 3; ++i) {
        menu.frame(1.0f / 60);
    }
    EXPECT_TRUE(menu.selection);
    keys.release(275);
    keys.press(276); // then Left
    menu.frame(1.0f / 60);
    EXPECT_FALSE(menu.selection);
    // A hat direction on the second pad counts the same.
    pad1.hatDown = true;
    menu.frame(1.0f / 60);
    EXPECT_TRUE(menu.selection);
    EXPECT_FALSE(pad1.hatDown);
    EXPECT_EQ(gameMode, kModePause);
}

TEST_F(PauseMenuTest, DirectionsComeFirstAndSwallowAConfirmOfTheSameFrame) {
    ASSERT_TRUE(openWindow(320, 180));
    menu.enter();
    keys.press(273); // Up
    keys.press(13);  // Return
    menu.frame(1.0f / 60);
    EXPECT_TRUE(menu.selection);
    EXPECT_EQ(gameMode, kModePause);
    // Confirm on the cross leaves the program, even while the pointer is still on its way.
    EXPECT_LT(menu.trailPosition[0], 1.0f);
    keys.press(32);
    menu.frame(1.0f / 60);
    EXPECT_EQ(gameMode, kModeEnd);
}

TEST_F(PauseMenuTest, ConfirmAtTheCentreResumesAndEscapeWinsOverConfirm) {
    ASSERT_TRUE(openWindow(320, 180));
    menu.enter();
    pad0.setButton(15, true);
    menu.frame(1.0f / 60);
    EXPECT_EQ(gameMode, kModePlay);

    gameMode = kModePause;
    menu.enter();
    menu.selection = true;
    keys.press(27);
    keys.press(101);
    menu.frame(1.0f / 60);
    EXPECT_EQ(gameMode, kModePlay);
    EXPECT_FALSE(keys.isDown(101));
}

TEST_F(PauseMenuTest, TheTrailFollowsFramesNotSeconds) {
    ASSERT_TRUE(openWindow(320, 180));
    menu.enter();
    keys.press(275);
    // A stall: the pointer moves 0.75 of the way in one frame and arrives on the next.
    menu.frame(0.125f);
    EXPECT_FLOAT_EQ(menu.trailPosition[0], 0.75f);
    EXPECT_FLOAT_EQ(menu.trailPosition[1], 0.375f);
    EXPECT_FLOAT_EQ(menu.trailPosition[2], 0.1875f);
    EXPECT_FLOAT_EQ(menu.trailBrightness[0], 1.0f);
    EXPECT_FLOAT_EQ(menu.trailBrightness[1], 0.2f);
    EXPECT_FLOAT_EQ(menu.trailBrightness[2], 0.04f);
    menu.frame(0.125f);
    EXPECT_FLOAT_EQ(menu.trailPosition[0], 1.0f);
    EXPECT_FLOAT_EQ(menu.trailPosition[1], 0.6875f);
    EXPECT_FLOAT_EQ(menu.trailBrightness[1], 0.36f);
    // Every copy lags behind the one outside it, and all come home in the end.
    for (int i = 1; i < PauseMenu::kCopies; ++i) {
        EXPECT_LT(menu.trailPosition[i], menu.trailPosition[i - 1]) << i;
    }
    for (int frame = 0; frame < 200; ++frame) {
        menu.frame(1.0f / 60);
    }
    EXPECT_NEAR(menu.trailPosition[15], 1.0f, 1e-4f);
    EXPECT_NEAR(menu.trailBrightness[15], 1.0f, 1e-4f);
    // Back to the centre at six widths a second: 1/60 s moves it by a tenth.
    keys.press(276);
    menu.frame(1.0f / 60);
    EXPECT_FLOAT_EQ(menu.trailPosition[0], 0.9f);
}

TEST_F(PauseMenuTest, DrawsGreenOutlinesOnBlack) {
    ASSERT_TRUE(openWindow(640, 360));
    menu.enter();
    menu.frame(1.0f / 60);
    bool onlyGreen = false;
    const Box all = litBox(0, 0, 640, 360, &onlyGreen);
    EXPECT_TRUE(onlyGreen);
    // The outermost copy is three quarters of the window: x 80..560, y 45..315.
    EXPECT_NEAR(all.x0, 80, 1);
    EXPECT_NEAR(all.x1, 560, 1);
    EXPECT_NEAR(all.y0, 45, 1);
    EXPECT_NEAR(all.y1, 315, 1);
    // At full brightness its green is (0.375, 0.75, 0.375).
    EXPECT_GT(countPixels(78, 100, 83, 260, {96, 191, 96, 255}, 2), 150);
    // Between the outer outline and the next copy all is black.
    EXPECT_EQ(countPixels(90, 60, 130, 280, {0, 0, 0, 255}, 0), 40 * 220);
    // The pointer rests with its tip at the centre, filled black inside its green outline.
    EXPECT_EQ(readPixel(326, 176).g, 0);
    EXPECT_GT(countPixels(319, 153, 322, 180, {96, 191, 96, 255}, 2), 15);
}

TEST_F(PauseMenuTest, TheCloseCrossStaysSquareOnAnyWindowShape) {
    for (const auto& size : {std::make_pair(640, 480), std::make_pair(840, 360), std::make_pair(640, 360)}) {
        const int w = size.first, h = size.second;
        ASSERT_TRUE(openWindow(w, h));
        viewport.begin2D();
        menu.drawNestedFrame(1.0f, 0.0f, 1.0f);
        // Only the cross lies between the title bar (0.8) and the top edge, right of x 0.8.
        bool onlyGreen = false;
        const Box cross = litBox(w * 9 / 10, h * 183 / 200, w * 197 / 200, h * 197 / 200, &onlyGreen);
        EXPECT_TRUE(onlyGreen);
        ASSERT_GT(cross.x1, cross.x0) << w << "x" << h;
        EXPECT_NEAR(cross.x1 - cross.x0, h / 20, 2) << w << "x" << h;
        EXPECT_NEAR(cross.y1 - cross.y0, h / 20, 2) << w << "x" << h;
        EXPECT_NEAR(cross.x1, w * 195 / 200, 1) << w << "x" << h;
        glClear(GL_COLOR_BUFFER_BIT);
    }
}
