// The offscreen picture: shown again, it gives exactly the pixels the same drawing gives in the window,
// and it puts back the GL state it changes.
#include <gtest/gtest.h>

#include <SDL/SDL_opengl.h>
#include <cstring>
#include <vector>

#include "render/render_state.h"
#include "render/render_target.h"
#include "tests/support/gl_test_context.h"

namespace {
const int kWidth = 320;
const int kHeight = 200;

// Blended thin triangles with corners between pixel centres, some facing away (culled), then squares
// with edges through pixel centres: what the window's rasterizer rounds and decides edge by edge.
void drawPattern() {
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    setFlatColour(1.0f, 1.0f, 1.0f, 0.6f);
    glBegin(GL_TRIANGLES);
    for (int i = 0; i < 40; ++i) {
        const float x = 3.3f + 7.77f * static_cast<float>(i);
        glColor4f(0.1f * static_cast<float>(i % 10), 0.5f, 1.0f - 0.02f * static_cast<float>(i), 0.6f);
        glVertex2f(x, 1.7f);
        glVertex2f(x + (i % 3 == 0 ? -2.31f : 2.31f), 190.2f);
        glVertex2f(x + 0.5f, 100.49f);
    }
    glEnd();
    // Edges through pixel centres, where the fill rule alone decides which row or column a pixel joins.
    setFlatColour(1.0f, 0.8f, 0.2f, 1.0f);
    glBegin(GL_QUADS);
    for (int i = 0; i < 6; ++i) {
        const float left = 10.5f + 50.0f * static_cast<float>(i);
        const float bottom = 20.5f + 25.0f * static_cast<float>(i);
        glVertex2f(left, bottom);
        glVertex2f(left + 30.0f, bottom);
        glVertex2f(left + 30.0f, bottom + 20.0f);
        glVertex2f(left, bottom + 20.0f);
    }
    glEnd();
    setFlatColour(1.0f, 1.0f, 1.0f, 1.0f);
}

std::vector<uint8_t> grab() {
    std::vector<uint8_t> pixels(kWidth * kHeight * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}
} // namespace

TEST(RenderTarget, ShownAgainItGivesTheWindowsPixelsAndPutsBackWhatItChanged) {
    REQUIRE_GL_WINDOW(kWidth, kHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, kWidth, 0, kHeight, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    drawPattern();
    const std::vector<uint8_t> direct = grab();

    RenderTarget target;
    ASSERT_TRUE(target.resize(kWidth, kHeight)) << "the test GL has framebuffer objects";
    GLfloat projectionBefore[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projectionBefore);
    target.begin();
    drawPattern();
    target.end();
    glClearColor(1.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    target.show(0, kWidth);
    int differing = 0;
    const std::vector<uint8_t> shown = grab();
    for (size_t i = 0; i < shown.size(); i += 4) {
        differing += std::memcmp(&shown[i], &direct[i], 3) != 0 ? 1 : 0;
    }
    EXPECT_EQ(differing, 0) << "pixels of the picture shown differ from the drawing in the window";

    GLint viewport[4], frontFace = 0, framebuffer = -1, matrixMode = 0;
    glGetIntegerv(GL_VIEWPORT, viewport);
    glGetIntegerv(GL_FRONT_FACE, &frontFace);
    glGetIntegerv(0x8CA6 /* GL_FRAMEBUFFER_BINDING */, &framebuffer);
    glGetIntegerv(GL_MATRIX_MODE, &matrixMode);
    GLfloat projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    EXPECT_EQ(viewport[2], kWidth);
    EXPECT_EQ(viewport[3], kHeight);
    EXPECT_EQ(frontFace, GL_CCW);
    EXPECT_EQ(matrixMode, GL_MODELVIEW);
    EXPECT_EQ(std::memcmp(projection, projectionBefore, sizeof projection), 0);
    EXPECT_FALSE(glCapabilityOn(GL_TEXTURE_2D));
    EXPECT_FALSE(glCapabilityOn(GL_BLEND));
    // The window is drawn into again, not the picture: a clear shows.
    glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    const Rgba pixel = readPixel(5, 5);
    EXPECT_EQ(pixel.g, 255);
    EXPECT_EQ(pixel.r, 0);
}
