#include <gtest/gtest.h>

#include <SDL/SDL_opengl.h>
#include <string>
#include <vector>

#include "app/fatal.h"
#include "app/frame_clock.h"
#include "app/message_screen.h"
#include "app/services.h"
#include "app/viewport.h"
#include "input/key_state.h"
#include "tests/support/gl_test_context.h"

namespace {
// 1280 x 720 gives text cells of 40 x 40 pixels; a glyph fills the middle two thirds (x 6.7..33.3).
constexpr int kCell = 40;

class MessageScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        theViewport = &viewport;
        theKeyState = &keys;
        theFrameClock = &clock;
        viewport.width = 1280;
        viewport.height = 720;
        gameMode = kModeMessage;
    }
    void TearDown() override {
        theViewport = nullptr;
        theKeyState = nullptr;
        theFrameClock = nullptr;
        messageText.clear();
        gameMode = kModePlay;
    }

    // Shows a text the way the main loop would.
    void show(const std::string& text) {
        messageText = text;
        screen.enter();
        screen.frame(0.04f);
    }

    static Rgba cellPixel(int column, int row, float x, float y) {
        return readPixel(column * kCell + static_cast<int>(x * kCell),
                         row * kCell + static_cast<int>(y * kCell));
    }
    // The middle of the cell, where I, 1, | and the centre of most glyphs lie.
    static bool centreWhite(int column, int row) {
        const Rgba p = cellPixel(column, row, 0.5f, 0.5f);
        return p.r == 255 && p.g == 255 && p.b == 255;
    }
    static bool centreRed(int column, int row) {
        const Rgba p = cellPixel(column, row, 0.5f, 0.5f);
        return p.r == 255 && p.g == 0 && p.b == 0;
    }
    static std::vector<uint8_t> cellImage(int column, int row) {
        std::vector<uint8_t> pixels(kCell * kCell * 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadBuffer(GL_BACK);
        glReadPixels(column * kCell, row * kCell, kCell, kCell, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }

    Viewport viewport;
    KeyState keys;
    FrameClock clock;
    MessageScreen screen;
};

std::vector<int> rowsOf(const std::vector<PlacedCharacter>& placed) {
    std::vector<int> rows;
    for (const PlacedCharacter& c : placed) {
        rows.push_back(c.row);
    }
    return rows;
}
} // namespace

TEST(MessageLayout, WrapsAfterThirtyTwoColumnsAndOnLineFeeds) {
    const std::vector<PlacedCharacter> forty = layoutMessage(std::string(40, 'x'));
    ASSERT_EQ(forty.size(), 40u);
    EXPECT_EQ(forty[0].column, 0);
    EXPECT_EQ(forty[0].row, 17);
    EXPECT_EQ(forty[31].column, 31);
    EXPECT_EQ(forty[31].row, 17);
    EXPECT_EQ(forty[32].column, 0);
    EXPECT_EQ(forty[32].row, 16);
    EXPECT_EQ(forty[39].column, 7);

    // A full row followed by a line feed leaves an empty row: the wrap and the line feed each move down.
    const std::vector<PlacedCharacter> full = layoutMessage(std::string(32, 'x') + "\ny");
    ASSERT_EQ(full.size(), 33u);
    EXPECT_EQ(full[32].code, 'y');
    EXPECT_EQ(full[32].column, 0);
    EXPECT_EQ(full[32].row, 15);

    // Line feeds draw nothing; an empty line is a row skipped; rows run on below the screen.
    const std::vector<PlacedCharacter> lines = layoutMessage("ab\n\ncd" + std::string(20, '\n') + "e");
    EXPECT_EQ(rowsOf(lines), (std::vector<int>{17, 17, 15, 15, -5}));
    EXPECT_EQ(lines[3].column, 1);
    EXPECT_TRUE(layoutMessage("").empty());
    EXPECT_EQ(layoutMessage("\xE9")[0].code, 0xE9);
}

TEST_F(MessageScreenTest, EnteringSetsTheTextGridSwallowsEscapeAndSlowsTheClock) {
    REQUIRE_GL_WINDOW(1280, 720);
    keys.press(27);
    keys.press(13);
    screen.enter();
    EXPECT_EQ(viewport.width, 32.0f);
    EXPECT_EQ(viewport.height, 18.0f);
    EXPECT_FALSE(keys.isDown(27));
    EXPECT_TRUE(keys.isDown(13));
    EXPECT_EQ(clock.targetFps, 24.0f);
    EXPECT_FALSE(glCapabilityOn(GL_CULL_FACE));
    // Run twice, as the main loop may, it leaves everything the same.
    screen.enter();
    EXPECT_EQ(viewport.width, 32.0f);
    EXPECT_EQ(clock.targetFps, 24.0f);
    // The Escape swallowed on entry does not leave the screen.
    screen.frame(0.04f);
    EXPECT_EQ(gameMode, kModeMessage);
}

TEST_F(MessageScreenTest, EscapeHeldAtAFrameLeavesWithoutDrawing) {
    REQUIRE_GL_WINDOW(1280, 720);
    screen.enter();
    keys.press(27);
    screen.frame(0.04f);
    EXPECT_EQ(gameMode, kModeEndFatal);
    EXPECT_FALSE(keys.isDown(27));
    // Nothing was drawn over the harness's black.
    EXPECT_EQ(countPixels(0, 0, 1280, 720, {0, 0, 0, 255}), 1280 * 720);
}

TEST_F(MessageScreenTest, DrawsWhiteCapitalsOnRed) {
    REQUIRE_GL_WINDOW(1280, 720);
    show("I");
    EXPECT_TRUE(centreWhite(0, 17));
    EXPECT_TRUE(centreRed(1, 17));
    EXPECT_TRUE(centreRed(0, 16));
    // The glyph keeps to the middle of its cell: its foot is at 1/6 of the cell, not the edge.
    EXPECT_TRUE(cellPixel(0, 17, 0.5f, 0.2f).g == 255);
    EXPECT_TRUE(cellPixel(0, 17, 0.5f, 0.1f).g == 0);
    EXPECT_TRUE(cellPixel(0, 17, 0.5f, 0.9f).g == 0);
    // Everything else is red, corner to corner.
    const int white = countPixels(0, 0, 1280, 720, {255, 255, 255, 255}, 0);
    const int red = countPixels(0, 0, 1280, 720, {255, 0, 0, 255}, 0);
    EXPECT_GT(white, 20 * 2);
    EXPECT_LT(white, 30 * 6);
    EXPECT_EQ(white + red, 1280 * 720);
}

TEST_F(MessageScreenTest, ALongRowWrapsAndAFullRowWithALineFeedLeavesAnEmptyRow) {
    REQUIRE_GL_WINDOW(1280, 720);
    show(std::string(33, 'I') + "\n" + std::string(32, 'I') + "\nI");
    for (int column = 0; column < 32; ++column) {
        EXPECT_TRUE(centreWhite(column, 17)) << column;
    }
    EXPECT_TRUE(centreWhite(0, 16));
    EXPECT_TRUE(centreRed(1, 16));
    for (int column = 0; column < 32; ++column) {
        EXPECT_TRUE(centreWhite(column, 15)) << column;
    }
    // The wrap after the 32nd character and the line feed each took a row.
    EXPECT_TRUE(centreRed(0, 14));
    EXPECT_TRUE(centreWhite(0, 13));
}

TEST_F(MessageScreenTest, LowerCaseLooksLikeCapitalsAndATabShowsTheFallback) {
    REQUIRE_GL_WINDOW(1280, 720);
    show("hello, WORLD\nHELLO, world\n\t");
    for (int column = 0; column < 12; ++column) {
        EXPECT_EQ(cellImage(column, 17), cellImage(column, 16)) << column;
    }
    // H differs from E, so the comparison above really looks at glyphs.
    EXPECT_NE(cellImage(0, 17), cellImage(1, 17));
    // The tab's corner ticks: the glyph area's corners are white, its centre red.
    EXPECT_EQ(cellPixel(0, 15, 0.18f, 0.18f).g, 255);
    EXPECT_EQ(cellPixel(0, 15, 0.82f, 0.82f).g, 255);
    EXPECT_TRUE(centreRed(0, 15));
}

TEST_F(MessageScreenTest, AnAudioFailureShowsItsLinesInOrder) {
    REQUIRE_GL_WINDOW(1280, 720);
    reportFatal(kFatalAudio, "");
    EXPECT_EQ(gameMode, kModeMessage);
    show(messageText);
    // "error" on the top row, "-----" below, "could not init:" below that; the blank line stays red.
    EXPECT_FALSE(centreRed(0, 17));
    EXPECT_TRUE(centreRed(5, 17));
    EXPECT_TRUE(centreWhite(0, 16)); // the middle of '-'
    EXPECT_TRUE(centreRed(5, 16));
    EXPECT_EQ(cellPixel(0, 15, 0.167f, 0.5f).g, 255); // the upright of 'C'
    EXPECT_TRUE(centreRed(0, 15));
    for (int column = 0; column < 32; ++column) {
        EXPECT_TRUE(centreRed(column, 13)) << column;
    }
}
