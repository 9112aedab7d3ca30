// The blending decision, colours and materials, ambient light and the stencil mask on a real GL window.
#include "render/render_state.h"

#include <SDL/SDL_opengl.h>
#include <cmath>
#include <gtest/gtest.h>

#include "tests/support/gl_test_context.h"

namespace {
void fillQuad(float x0, float y0, float x1, float y1) {
    glBegin(GL_QUADS);
    glVertex2f(x0, y0);
    glVertex2f(x1, y0);
    glVertex2f(x1, y1);
    glVertex2f(x0, y1);
    glEnd();
}

// Window pixels map straight to GL units.
void pixelProjection(int width, int height) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width, 0, height, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}
} // namespace

TEST(RenderState, BlendingFollowsTranslucentColourOrBlendingTexture) {
    REQUIRE_GL_WINDOW(64, 64);
    textureBlends = false;
    setFlatColour(1, 1, 1, 1);
    EXPECT_FALSE(colourTranslucent);
    EXPECT_FALSE(glCapabilityOn(GL_BLEND));
    setFlatColour(1, 1, 1, 0.999f);
    EXPECT_TRUE(colourTranslucent);
    EXPECT_TRUE(glCapabilityOn(GL_BLEND));
    setFlatColour(1, 1, 1, NAN);
    EXPECT_TRUE(glCapabilityOn(GL_BLEND));
    setFlatColour(1, 1, 1, 2);
    EXPECT_FALSE(glCapabilityOn(GL_BLEND));

    // An opaque colour over a blending texture keeps blending on.
    textureBlends = true;
    setFlatColour(0, 0, 0, 1);
    EXPECT_TRUE(glCapabilityOn(GL_BLEND));
    textureBlends = false;
    applyBlendRule();
    EXPECT_FALSE(glCapabilityOn(GL_BLEND));

    setMaterial(1, 1, 1, 0.5f, 0, 0);
    EXPECT_TRUE(glCapabilityOn(GL_BLEND));
    setMaterial(1, 1, 1, 1, 0, 0);
    EXPECT_FALSE(glCapabilityOn(GL_BLEND));
}

TEST(RenderState, FlatColourIsUnlitAndMaterialIsLit) {
    REQUIRE_GL_WINDOW(64, 64);
    setMaterial(0.2f, 0.4f, 0.6f, 0.8f, 0.3f, 0.5f);
    EXPECT_TRUE(glCapabilityOn(GL_LIGHTING));
    GLfloat value[4];
    glGetMaterialfv(GL_FRONT, GL_AMBIENT, value);
    EXPECT_FLOAT_EQ(value[0], 0.2f);
    EXPECT_FLOAT_EQ(value[3], 1.0f);
    glGetMaterialfv(GL_BACK, GL_DIFFUSE, value);
    EXPECT_FLOAT_EQ(value[2], 0.6f);
    EXPECT_FLOAT_EQ(value[3], 0.8f);
    glGetMaterialfv(GL_FRONT, GL_SPECULAR, value);
    EXPECT_FLOAT_EQ(value[1], 0.3f);
    EXPECT_FLOAT_EQ(value[3], 1.0f);
    glGetMaterialfv(GL_FRONT, GL_SHININESS, value);
    EXPECT_FLOAT_EQ(value[0], 64.0f);

    setFlatColour(0.25f, 0.5f, 0.75f, 1);
    EXPECT_FALSE(glCapabilityOn(GL_LIGHTING));
    glGetFloatv(GL_CURRENT_COLOR, value);
    EXPECT_FLOAT_EQ(value[1], 0.5f);

    setAmbientLight(0.1f, 0.2f, 0.3f);
    glGetFloatv(GL_LIGHT_MODEL_AMBIENT, value);
    EXPECT_FLOAT_EQ(value[0], 0.1f);
    EXPECT_FLOAT_EQ(value[2], 0.3f);
    EXPECT_FLOAT_EQ(value[3], 1.0f);
}

TEST(RenderState, StencilMaskLimitsDrawingToMarkedPixels) {
    REQUIRE_GL_WINDOW(64, 64);
    pixelProjection(64, 64);
    const Rgba black = {0, 0, 0, 255};
    const Rgba red = {255, 0, 0, 255};
    const Rgba green = {0, 255, 0, 255};

    beginStencilMask();
    GLboolean depthWrites = GL_TRUE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    EXPECT_EQ(depthWrites, GL_FALSE);
    setFlatColour(1, 1, 1, 1);
    fillQuad(0, 0, 32, 64);
    // Marking changes no colour.
    EXPECT_EQ(countPixels(0, 0, 64, 64, black), 64 * 64);

    drawInsideStencilMask();
    setFlatColour(1, 0, 0, 1);
    fillQuad(0, 0, 64, 64);
    EXPECT_EQ(countPixels(0, 0, 32, 64, red), 32 * 64);
    EXPECT_EQ(countPixels(32, 0, 64, 64, black), 32 * 64);

    endStencilMask();
    EXPECT_FALSE(glCapabilityOn(GL_STENCIL_TEST));
    setFlatColour(0, 1, 0, 1);
    fillQuad(16, 0, 48, 64);
    EXPECT_EQ(countPixels(16, 0, 48, 64, green), 32 * 64);

    // A new mask starts empty: nothing marked means nothing drawn inside it.
    beginStencilMask();
    drawInsideStencilMask();
    setFlatColour(1, 0, 0, 1);
    fillQuad(0, 0, 64, 64);
    EXPECT_EQ(countPixels(16, 0, 48, 64, green), 32 * 64);
    endStencilMask();
}
