#include <gtest/gtest.h>

#include <SDL/SDL_opengl.h>

#include "app/viewport.h"
#include "render/render_state.h"
#include "tests/support/gl_test_context.h"

namespace {
// Through the helper every screen draws with, so that these cases hold it to the convention too.
void quad(float u0, float v0, float u1, float v1) {
    glBegin(GL_QUADS);
    vertex2D(u0, v0);
    vertex2D(u1, v0);
    vertex2D(u1, v1);
    vertex2D(u0, v1);
    glEnd();
}

// Starts 2D drawing over a logical area of width x height in the given flat colour.
void begin2DIn(float width, float height, float r, float g, float b) {
    Viewport viewport;
    viewport.width = width;
    viewport.height = height;
    viewport.begin2D();
    setFlatColour(r, g, b, 1);
}
} // namespace

TEST(Viewport, MapsTheYZPlaneOntoTheWholeWindow) {
    REQUIRE_GL_WINDOW(320, 180);
    begin2DIn(320, 180, 1, 1, 1);
    quad(0, 0, 320, 180);
    EXPECT_EQ(countPixels(0, 0, 320, 180, {255, 255, 255, 255}), 320 * 180);
    EXPECT_FALSE(glCapabilityOn(GL_DEPTH_TEST));
}

TEST(Viewport, PutsTheOriginAtTheBottomLeftAndStretchesLogicalUnits) {
    REQUIRE_GL_WINDOW(320, 180);
    begin2DIn(32, 18, 1, 0, 0);
    // The top-right character cell of a 32 x 18 text screen starts at (31, 17).
    quad(31, 17, 32, 18);
    const Rgba inside = readPixel(315, 175);
    EXPECT_EQ(inside.r, 255);
    EXPECT_EQ(readPixel(305, 175).r, 0);
    EXPECT_EQ(readPixel(315, 165).r, 0);
}
