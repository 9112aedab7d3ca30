// The eight-slot light pool: slot allocation, the waiting list and what reaches GL.
#include "render/light.h"

#include <SDL/SDL_opengl.h>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

#include "tests/support/gl_test_context.h"

namespace {
GLfloat lightValue(int slot, GLenum what, int index = 0) {
    GLfloat value[4] = {-99, -99, -99, -99};
    glGetLightfv(GL_LIGHT0 + slot, what, value);
    return value[index];
}

// The light holds the slot, the pool knows it and GL has the slot's light on.
void expectInSlot(const Light& light, int slot) {
    EXPECT_EQ(light.slot(), slot);
    EXPECT_EQ(LightSlots[slot], &light) << "slot " << slot;
    EXPECT_TRUE(glCapabilityOn(GL_LIGHT0 + slot)) << "slot " << slot;
}
} // namespace

TEST(Light, NewLightsTakeTheLowestFreeSlotWithDefaults) {
    REQUIRE_GL_WINDOW(64, 64);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    auto a = std::make_unique<Light>();
    auto b = std::make_unique<Light>();
    EXPECT_EQ(a->slot(), 0);
    expectInSlot(*b, 1);
    EXPECT_FLOAT_EQ(lightValue(1, GL_POSITION, 2), 1);
    EXPECT_FLOAT_EQ(lightValue(1, GL_POSITION, 3), 0);
    EXPECT_FLOAT_EQ(lightValue(1, GL_DIFFUSE, 0), 1);
    EXPECT_FLOAT_EQ(lightValue(1, GL_SPECULAR, 2), 1);
    EXPECT_FLOAT_EQ(lightValue(1, GL_AMBIENT, 0), 0);
    EXPECT_FLOAT_EQ(lightValue(1, GL_LINEAR_ATTENUATION), 2);

    b->setRange(4);
    EXPECT_FLOAT_EQ(lightValue(1, GL_LINEAR_ATTENUATION), 0.5f);
    EXPECT_FLOAT_EQ(lightValue(1, GL_CONSTANT_ATTENUATION), 0);
    EXPECT_FLOAT_EQ(lightValue(1, GL_QUADRATIC_ATTENUATION), 0);
    b->setDirection(1, 2, 3);
    EXPECT_FLOAT_EQ(lightValue(1, GL_POSITION, 0), -1);
    EXPECT_FLOAT_EQ(lightValue(1, GL_POSITION, 2), -3);
    EXPECT_FLOAT_EQ(lightValue(1, GL_POSITION, 3), 0);
    b->setPosition(4, 5, 6);
    EXPECT_FLOAT_EQ(lightValue(1, GL_POSITION, 1), 5);
    EXPECT_FLOAT_EQ(lightValue(1, GL_POSITION, 3), 1);

    // A freed slot with nobody waiting is switched off and is the next one handed out.
    a.reset();
    EXPECT_EQ(LightSlots[0], nullptr);
    EXPECT_FALSE(glCapabilityOn(GL_LIGHT0));
    auto c = std::make_unique<Light>();
    EXPECT_EQ(c->slot(), 0);
    EXPECT_TRUE(glCapabilityOn(GL_LIGHT0));
}

TEST(Light, WaitingLightsTakeFreedSlotsInOrderWithTheirStoredValues) {
    REQUIRE_GL_WINDOW(64, 64);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    std::vector<std::unique_ptr<Light>> lights;
    for (int i = 0; i < 8; ++i) {
        lights.push_back(std::make_unique<Light>());
        lights.back()->setColour(0.1f * i, 0, 0);
    }
    auto ninth = std::make_unique<Light>();
    auto tenth = std::make_unique<Light>();
    auto eleventh = std::make_unique<Light>();
    EXPECT_EQ(ninth->slot(), -1);
    EXPECT_EQ(tenth->slot(), -1);

    // While waiting, nothing of the ninth light reaches GL.
    ninth->setPosition(7, 8, 9);
    ninth->setColour(0.25f, 0.5f, 0.75f);
    ninth->setRange(8);
    tenth->setColour(0, 0, 1);
    EXPECT_NEAR(lightValue(3, GL_DIFFUSE, 0), 0.3f, 1e-6f);
    EXPECT_FLOAT_EQ(lightValue(3, GL_POSITION, 3), 0);

    // A waiting light that goes away leaves the queue without touching any slot.
    eleventh.reset();

    lights[5].reset();
    expectInSlot(*ninth, 5);
    EXPECT_FLOAT_EQ(lightValue(5, GL_POSITION, 0), 7);
    EXPECT_FLOAT_EQ(lightValue(5, GL_POSITION, 3), 1);
    EXPECT_FLOAT_EQ(lightValue(5, GL_DIFFUSE, 1), 0.5f);
    EXPECT_FLOAT_EQ(lightValue(5, GL_SPECULAR, 2), 0.75f);
    EXPECT_FLOAT_EQ(lightValue(5, GL_LINEAR_ATTENUATION), 0.25f);

    lights[2].reset();
    EXPECT_EQ(tenth->slot(), 2);
    EXPECT_FLOAT_EQ(lightValue(2, GL_DIFFUSE, 2), 1);
    EXPECT_TRUE(glCapabilityOn(GL_LIGHT2));

    // Now nobody waits: the next freed slot goes dark.
    lights[7].reset();
    EXPECT_EQ(LightSlots[7], nullptr);
    EXPECT_FALSE(glCapabilityOn(GL_LIGHT7));

    lights.clear();
    ninth.reset();
    tenth.reset();
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(LightSlots[i], nullptr);
        EXPECT_FALSE(glCapabilityOn(GL_LIGHT0 + i));
    }
}
