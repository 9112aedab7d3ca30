// The perspective camera on a real GL window: fog set-up, projection, view direction, clearing and
// the re-placing of lights.
#include "render/camera.h"

#include <SDL/SDL_opengl.h>
#include <gtest/gtest.h>

#include "render/light.h"
#include "render/render_state.h"
#include "tests/support/gl_test_context.h"

namespace {
const int kWidth = 160;
const int kHeight = 90;
const float kPi = 3.14159265f;

// A square facing the eye's side of the plane x = depth, centred on (y, z).
void squareAcrossX(float depth, float y, float z, float half) {
    glBegin(GL_QUADS);
    glVertex3f(depth, y - half, z - half);
    glVertex3f(depth, y + half, z - half);
    glVertex3f(depth, y + half, z + half);
    glVertex3f(depth, y - half, z + half);
    glEnd();
}
} // namespace

TEST(Camera, ConstructionSetsLinearFogAndDefaults) {
    REQUIRE_GL_WINDOW(kWidth, kHeight);
    glFogi(GL_FOG_MODE, GL_EXP);
    Camera camera;
    GLint value = 0;
    glGetIntegerv(GL_FOG_MODE, &value);
    EXPECT_EQ(value, GL_LINEAR);
    glGetIntegerv(GL_FOG_HINT, &value);
    EXPECT_EQ(value, GL_FASTEST);
    EXPECT_FLOAT_EQ(camera.aspect, 16.0f / 9.0f);
    EXPECT_NEAR(camera.verticalFieldOfView(), 58.72f, 0.01f);
    camera.setAspect(100, 100);
    EXPECT_NEAR(camera.verticalFieldOfView(), 90.0f, 1e-4f);
}

TEST(Camera, ApplySetsFogProjectionAndDepthTest) {
    REQUIRE_GL_WINDOW(kWidth, kHeight);
    Camera camera;
    camera.fogStart = 10;
    camera.fogEnd = 20;
    camera.backgroundColour[1] = 0.5f;
    camera.apply(false);
    EXPECT_TRUE(glCapabilityOn(GL_FOG));
    EXPECT_TRUE(glCapabilityOn(GL_DEPTH_TEST));
    GLfloat value[16];
    glGetFloatv(GL_FOG_START, value);
    EXPECT_FLOAT_EQ(value[0], 10);
    glGetFloatv(GL_FOG_END, value);
    EXPECT_FLOAT_EQ(value[0], 20);
    glGetFloatv(GL_FOG_COLOR, value);
    EXPECT_FLOAT_EQ(value[1], 0.5f);
    EXPECT_FLOAT_EQ(value[3], 1);
    // The horizontal field of view stays 90 degrees: x is scaled by 1 / tan(45) whatever the aspect.
    glGetFloatv(GL_PROJECTION_MATRIX, value);
    EXPECT_NEAR(value[0], 1.0f, 1e-5f);
    EXPECT_NEAR(value[5], 16.0f / 9.0f, 1e-4f);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);

    camera.fogEnabled = false;
    camera.apply(false);
    EXPECT_FALSE(glCapabilityOn(GL_FOG));
}

TEST(Camera, ApplyClearsOnlyWhenAsked) {
    REQUIRE_GL_WINDOW(kWidth, kHeight);
    glClearColor(0, 0, 1, 1);
    glClearDepth(0.25);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    Camera camera;
    camera.backgroundColour[0] = 1;
    camera.apply(false);
    EXPECT_EQ(countPixels(0, 0, kWidth, kHeight, Rgba{0, 0, 255, 255}), kWidth * kHeight);
    GLfloat depth = 0;
    glReadPixels(10, 10, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    EXPECT_NEAR(depth, 0.25f, 1e-3f);

    camera.apply(true);
    EXPECT_EQ(countPixels(0, 0, kWidth, kHeight, Rgba{255, 0, 0, 255}), kWidth * kHeight);
    glReadPixels(10, 10, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    EXPECT_NEAR(depth, 1.0f, 1e-3f);
    GLint function = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &function);
    EXPECT_EQ(function, GL_LEQUAL);
}

TEST(Camera, EyeLooksAlongPlusXWithPlusYLeftAndTurnsWithItsAngles) {
    REQUIRE_GL_WINDOW(kWidth, kHeight);
    glDisable(GL_CULL_FACE);
    Camera camera;
    const Rgba white = {255, 255, 255, 255};
    const Rgba black = {0, 0, 0, 255};

    camera.apply(true);
    setFlatColour(1, 1, 1, 1);
    squareAcrossX(5, 0, 0, 0.5f);
    EXPECT_EQ(readPixel(kWidth / 2, kHeight / 2).r, 255);
    // At distance 5 with a 90 degree view, one unit is 16 pixels: the square spans about 72..88.
    EXPECT_GT(countPixels(0, 0, kWidth, kHeight, white), 14 * 14);
    EXPECT_LT(countPixels(0, 0, kWidth, kHeight, white), 18 * 18);

    // +Y shows on the left, +Z at the top.
    camera.apply(true);
    squareAcrossX(5, 2, 1, 0.5f);
    EXPECT_EQ(countPixels(0, 0, kWidth / 2, kHeight, white), countPixels(0, 0, kWidth, kHeight, white));
    EXPECT_EQ(countPixels(0, kHeight / 2, kWidth, kHeight, white), countPixels(0, 0, kWidth, kHeight, white));
    EXPECT_GT(countPixels(0, 0, kWidth, kHeight, white), 0);

    // Turned by a quarter about Z and moved, the eye looks along +Y from its new place.
    camera.angles.set(0, 0, kPi / 2);
    camera.position.set(3, -1, 0);
    camera.apply(true);
    squareAcrossX(5, 0, 0, 0.5f);
    EXPECT_EQ(countPixels(0, 0, kWidth, kHeight, white), 0);
    glBegin(GL_QUADS);
    glVertex3f(2.5f, 4, -0.5f);
    glVertex3f(3.5f, 4, -0.5f);
    glVertex3f(3.5f, 4, 0.5f);
    glVertex3f(2.5f, 4, 0.5f);
    glEnd();
    EXPECT_EQ(readPixel(kWidth / 2, kHeight / 2).r, 255);
    EXPECT_EQ(readPixel(2, 2).r, black.r);

    // Pitched down by a quarter (positive y turns +Z toward +X), the eye looks straight down.
    camera.angles.set(0, kPi / 2, 0);
    camera.position.set(0, 0, 5);
    camera.apply(true);
    glBegin(GL_QUADS);
    glVertex3f(-0.5f, -0.5f, 0);
    glVertex3f(0.5f, -0.5f, 0);
    glVertex3f(0.5f, 0.5f, 0);
    glVertex3f(-0.5f, 0.5f, 0);
    glEnd();
    EXPECT_EQ(readPixel(kWidth / 2, kHeight / 2).r, 255);
    glEnable(GL_CULL_FACE);
}

TEST(Camera, ApplyPlacesLightsInWorldCoordinates) {
    REQUIRE_GL_WINDOW(kWidth, kHeight);
    Camera camera;
    Light light;
    light.setPosition(1, 0, 0);
    camera.apply(false);
    // GL keeps light positions in eye coordinates: the point one unit ahead is at eye (0, 0, -1).
    GLfloat eye[4];
    glGetLightfv(GL_LIGHT0 + light.slot(), GL_POSITION, eye);
    EXPECT_NEAR(eye[0], 0, 1e-5f);
    EXPECT_NEAR(eye[1], 0, 1e-5f);
    EXPECT_NEAR(eye[2], -1, 1e-5f);
    camera.position.set(1, 0, 0);
    camera.apply(false);
    glGetLightfv(GL_LIGHT0 + light.slot(), GL_POSITION, eye);
    EXPECT_NEAR(eye[2], 0, 1e-5f);
    camera.position.set(1, 0, 3);
    camera.apply(false);
    glGetLightfv(GL_LIGHT0 + light.slot(), GL_POSITION, eye);
    EXPECT_NEAR(eye[1], -3, 1e-5f);
}
