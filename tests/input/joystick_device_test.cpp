#include <gtest/gtest.h>

#include <SDL/SDL.h>

#include "input/joystick_device.h"

namespace {
SDL_Event hatEvent(int device, int value, int hat = 0) {
    SDL_Event event = {};
    event.type = SDL_JOYHATMOTION;
    event.jhat.which = static_cast<Uint8>(device);
    event.jhat.hat = static_cast<Uint8>(hat);
    event.jhat.value = static_cast<Uint8>(value);
    return event;
}

SDL_Event buttonEvent(int device, int button, bool down) {
    SDL_Event event = {};
    event.type = down ? SDL_JOYBUTTONDOWN : SDL_JOYBUTTONUP;
    event.jbutton.which = static_cast<Uint8>(device);
    event.jbutton.button = static_cast<Uint8>(button);
    event.jbutton.state = down ? SDL_PRESSED : SDL_RELEASED;
    return event;
}

struct Hat {
    bool left, right, up, down;
};

Hat hatOf(const JoystickDevice& device) {
    return {device.hatLeft, device.hatRight, device.hatUp, device.hatDown};
}

void expectHat(const JoystickDevice& device, Hat expected, int value) {
    const Hat hat = hatOf(device);
    EXPECT_EQ(hat.left, expected.left) << "hat value " << value;
    EXPECT_EQ(hat.right, expected.right) << "hat value " << value;
    EXPECT_EQ(hat.up, expected.up) << "hat value " << value;
    EXPECT_EQ(hat.down, expected.down) << "hat value " << value;
}
} // namespace

TEST(JoystickDevice, StartsReleasedAndStaysEmptyWithoutADevice) {
    // The test machine has no joystick, so neither index opens.
    JoystickDevice device(1);
    EXPECT_EQ(device.index(), 1);
    EXPECT_FALSE(device.isOpen());
    for (int i = 0; i < JoystickDevice::kButtonCount; ++i) {
        EXPECT_FALSE(device.button(i));
    }
    expectHat(device, {false, false, false, false}, -1);
}

TEST(JoystickDevice, HatValuesSetAllFourDirectionsAtOnce) {
    JoystickDevice device(0);
    const struct {
        int value;
        Hat hat;
    } table[] = {
        {1, {false, false, true, false}}, {2, {false, true, false, false}}, {3, {false, true, true, false}},
        {4, {false, false, false, true}}, {6, {false, true, false, true}},  {8, {true, false, false, false}},
        {9, {true, false, true, false}},  {12, {true, false, false, true}}, {0, {false, false, false, false}},
    };
    for (const auto& row : table) {
        // Start from the opposite corner each time so that every direction must be written.
        device.handleJoystickEvent(hatEvent(0, 9));
        device.handleJoystickEvent(hatEvent(0, 6));
        device.handleJoystickEvent(hatEvent(0, row.value));
        expectHat(device, row.hat, row.value);
    }
    // Any hat of the device drives the one set of directions.
    device.handleJoystickEvent(hatEvent(0, 8, 2));
    expectHat(device, {true, false, false, false}, 8);
}

TEST(JoystickDevice, ImpossibleHatValuesLeaveTheDirectionsAlone) {
    JoystickDevice device(0);
    device.handleJoystickEvent(hatEvent(0, 3));
    for (int value : {5, 7, 10, 11, 13, 15, 16, 255}) {
        device.handleJoystickEvent(hatEvent(0, value));
        expectHat(device, {false, true, true, false}, value);
    }
}

TEST(JoystickDevice, ButtonsAboveThirtyOneAreIgnored) {
    JoystickDevice device(0);
    device.handleJoystickEvent(buttonEvent(0, 31, true));
    device.handleJoystickEvent(buttonEvent(0, 40, true));
    device.handleJoystickEvent(buttonEvent(0, 32, true));
    EXPECT_TRUE(device.button(31));
    EXPECT_FALSE(device.button(40));
    EXPECT_FALSE(device.button(32));
    EXPECT_FALSE(device.button(-1));
    for (int i = 0; i < 31; ++i) {
        EXPECT_FALSE(device.button(i)) << i;
    }
    device.handleJoystickEvent(buttonEvent(0, 31, false));
    EXPECT_FALSE(device.button(31));
    // Setting out of range is ignored too, and must not spill into the hat.
    device.setButton(32, true);
    device.setButton(-1, true);
    device.setButton(1000, true);
    EXPECT_FALSE(device.button(32));
    expectHat(device, {false, false, false, false}, -1);
}

TEST(JoystickDevice, EventsOfTheOtherDeviceAreIgnored) {
    JoystickDevice first(0);
    JoystickDevice second(1);
    for (JoystickDevice* device : {&first, &second}) {
        device->handleJoystickEvent(buttonEvent(1, 3, true));
        device->handleJoystickEvent(hatEvent(1, 2));
    }
    EXPECT_FALSE(first.button(3));
    expectHat(first, {false, false, false, false}, 2);
    EXPECT_TRUE(second.button(3));
    expectHat(second, {false, true, false, false}, 2);

    for (JoystickDevice* device : {&first, &second}) {
        device->handleJoystickEvent(buttonEvent(0, 5, true));
        device->handleJoystickEvent(hatEvent(0, 4));
    }
    EXPECT_TRUE(first.button(5));
    expectHat(first, {false, false, false, true}, 4);
    EXPECT_FALSE(second.button(5));
    expectHat(second, {false, true, false, false}, 2);

    // A third pad plugged in is nobody's.
    for (JoystickDevice* device : {&first, &second}) {
        device->handleJoystickEvent(buttonEvent(2, 7, true));
        device->handleJoystickEvent(hatEvent(2, 8));
        EXPECT_FALSE(device->button(7));
        EXPECT_FALSE(device->hatLeft);
    }
}

TEST(JoystickDevice, AxisMotionChangesNothing) {
    JoystickDevice device(0);
    device.handleJoystickEvent(hatEvent(0, 1));
    SDL_Event axis = {};
    axis.type = SDL_JOYAXISMOTION;
    axis.jaxis.which = 0;
    axis.jaxis.axis = 0;
    axis.jaxis.value = -32768;
    device.handleJoystickEvent(axis);
    expectHat(device, {false, false, true, false}, 1);
    for (int i = 0; i < JoystickDevice::kButtonCount; ++i) {
        EXPECT_FALSE(device.button(i));
    }
}
