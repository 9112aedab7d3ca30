#include <gtest/gtest.h>

#include <SDL/SDL_opengl.h>
#include <algorithm>

#include "app/stroke_font.h"
#include "app/viewport.h"
#include "tests/support/gl_test_context.h"

namespace {
bool sameStrokes(const std::vector<Stroke>& a, const std::vector<Stroke>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const Stroke& s, const Stroke& t) {
        return s.x1 == t.x1 && s.y1 == t.y1 && s.x2 == t.x2 && s.y2 == t.y2;
    });
}

const std::vector<Stroke>& fallback() {
    return glyphStrokes(0x01);
}

// A 10 x 10 logical area over a 200 x 200 window: one cell unit is 20 pixels.
void beginCanvas() {
    Viewport viewport;
    viewport.width = 10;
    viewport.height = 10;
    viewport.begin2D();
    glDisable(GL_CULL_FACE);
    glColor4f(1, 1, 1, 1);
}

bool white(int x, int y) {
    return readPixel(x, y).r == 255 && readPixel(x, y).b == 255;
}
} // namespace

TEST(StrokeFont, LowerCaseDrawsTheCapitalsAndOnlyTheLowByteCounts) {
    for (int code = 'a'; code <= 'z'; ++code) {
        EXPECT_TRUE(sameStrokes(glyphStrokes(code), glyphStrokes(code - 32))) << char(code);
        EXPECT_FALSE(sameStrokes(glyphStrokes(code), fallback())) << char(code);
    }
    EXPECT_TRUE(sameStrokes(glyphStrokes(0x141), glyphStrokes('A')));
    EXPECT_TRUE(sameStrokes(glyphStrokes(-0xBF), glyphStrokes('A'))); // low byte 0x41
}

TEST(StrokeFont, EveryCodeOutsidePrintableAsciiDrawsTheFallback) {
    ASSERT_EQ(fallback().size(), 8u);
    for (int code : {0x00, 0x09, 0x0A, 0x0D, 0x1F, 0x7F, 0x80, 0xE9, 0xFF}) {
        EXPECT_TRUE(sameStrokes(glyphStrokes(code), fallback())) << code;
    }
    EXPECT_TRUE(glyphStrokes(' ').empty());
    for (int code = 0x21; code <= 0x7E; ++code) {
        EXPECT_FALSE(glyphStrokes(code).empty()) << char(code);
        EXPECT_FALSE(sameStrokes(glyphStrokes(code), fallback())) << char(code);
    }
}

TEST(StrokeFont, GlyphsStayInTheirCellExceptTheDollarBar) {
    for (int code = 0x20; code <= 0x7E; ++code) {
        float low = 0, high = 1;
        for (const Stroke& s : glyphStrokes(code)) {
            low = std::min({low, s.x1, s.x2, s.y1, s.y2});
            high = std::max({high, s.x1, s.x2, s.y1, s.y2});
        }
        if (code == '$') {
            EXPECT_EQ(low, -0.125f);
            EXPECT_EQ(high, 1.125f);
        } else {
            EXPECT_EQ(low, 0.0f) << char(code);
            EXPECT_EQ(high, 1.0f) << char(code);
        }
    }
}

TEST(StrokeFont, AStrokeIsAboutTwiceTheHalfWidthAcrossInAnyDirection) {
    REQUIRE_GL_WINDOW(200, 200);
    beginCanvas();
    // A dot: a diamond 0.16 units (3.2 px) across at (2, 2) -> pixel (40, 40).
    drawStroke(2, 2, 2, 2);
    EXPECT_TRUE(white(40, 40));
    EXPECT_FALSE(white(43, 40));
    EXPECT_FALSE(white(40, 43));
    // Drawn in either direction, a vertical stroke from (5, 1) to (5, 9) and a horizontal one.
    drawStroke(5, 9, 5, 1);
    drawStroke(9, 5, 6, 5);
    for (int y : {22, 60, 120, 178}) {
        EXPECT_TRUE(white(100, y)) << y;
        EXPECT_TRUE(white(98, y)) << y;
        EXPECT_FALSE(white(103, y)) << y;
        EXPECT_FALSE(white(96, y)) << y;
    }
    EXPECT_TRUE(white(150, 100));
    EXPECT_FALSE(white(150, 104));
    // The end caps reach r beyond the ends: 1.6 px past (5, 9), up to y 181.6.
    EXPECT_TRUE(white(100, 180));
    EXPECT_FALSE(white(100, 183));
    // A diagonal from (1, 6) to (4, 9) is covered by both bands.
    drawStroke(1, 6, 4, 9);
    EXPECT_TRUE(white(50, 150));
    EXPECT_FALSE(white(54, 146));
    EXPECT_FALSE(white(46, 154));
}

TEST(StrokeFont, TheFallbackGlyphOutlinesAnEmptyCell) {
    REQUIRE_GL_WINDOW(200, 200);
    beginCanvas();
    // One cell of 5 x 5 units (100 px) from (2, 2).
    glTranslatef(0, 2, 2);
    glScalef(0, 5, 5);
    drawGlyph('\t');
    // The four corners carry ticks, the middle of every side and the centre stay empty.
    EXPECT_TRUE(white(41, 41));
    EXPECT_TRUE(white(139, 139));
    EXPECT_TRUE(white(41, 139));
    EXPECT_TRUE(white(139, 41));
    EXPECT_TRUE(white(60, 40));
    EXPECT_FALSE(white(90, 40));
    EXPECT_FALSE(white(40, 90));
    EXPECT_FALSE(white(90, 90));
}
