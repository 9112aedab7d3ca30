#include <gtest/gtest.h>

#include <SDL/SDL_opengl.h>

#include "app/viewport.h"
#include "render/render_state.h"
#include "tests/support/gl_test_context.h"

namespace {
void quad(float u0, float v0, float u1, float v1) {
    glBegin(GL_QUADS);
    glVertex3f(0, u0, v0);
    glVertex3f(0, u1, v0);
    glVertex3f(0, u1, v1);
    glVertex3f(0, u0, v1);
    glEnd();
}
} // namespace

TEST(Viewport, MapsTheYZPlaneOntoTheWholeWindow) {
    REQUIRE_GL_WINDOW(320, 180);
    Viewport viewport;
    viewport.width = 320;
    viewport.height = 180;
    viewport.begin2D();
    setFlatColour(1, 1, 1, 1);
    quad(0, 0, 320, 180);
    EXPECT_EQ(countPixels(0, 0, 320, 180, {255, 255, 255, 255}), 320 * 180);
    EXPECT_FALSE(glCapabilityOn(GL_DEPTH_TEST));
}

TEST(Viewport, PutsTheOriginAtTheBottomLeftAndStretchesLogicalUnits) {
    REQUIRE_GL_WINDOW(320, 180);
    Viewport viewport;
    viewport.width = 32;
    viewport.height = 18;
    viewport.begin2D();
    setFlatColour(1, 0, 0, 1);
    // The top-right character cell of a 32 x 18 text screen starts at (31, 17).
    quad(31, 17, 32, 18);
    const Rgba inside = readPixel(315, 175);
    EXPECT_EQ(inside.r, 255);
    EXPECT_EQ(readPixel(305, 175).r, 0);
    EXPECT_EQ(readPixel(315, 165).r, 0);
}
