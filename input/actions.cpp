// The actions over the program-wide key state and joysticks. Missing services read as released, so
// screens can be exercised with only the parts of input a test installs.
#include "input/actions.h"

#include "input/joystick_device.h"
#include "input/key_state.h"

namespace {
bool keyDown(int key) {
    return theKeyState != nullptr && theKeyState->isDown(key);
}

bool anyHat(bool JoystickDevice::*direction) {
    for (JoystickDevice* device : theJoysticks) {
        if (device != nullptr && device->*direction) {
            return true;
        }
    }
    return false;
}

const int kConfirmButtons = 16;
const int kConsumedKeys[] = {kKeyEscape, kKeyReturn, kKeySpace, kKeyE,    kKeyW,    kKeyA,
                             kKeyS,      kKeyD,      kKeyUp,    kKeyDown, kKeyLeft, kKeyRight};
} // namespace

bool actionLeft() {
    return anyHat(&JoystickDevice::hatLeft) || keyDown(kKeyA) || keyDown(kKeyLeft);
}
bool actionRight() {
    return anyHat(&JoystickDevice::hatRight) || keyDown(kKeyD) || keyDown(kKeyRight);
}
bool actionUp() {
    return anyHat(&JoystickDevice::hatUp) || keyDown(kKeyW) || keyDown(kKeyUp);
}
bool actionDown() {
    return anyHat(&JoystickDevice::hatDown) || keyDown(kKeyS) || keyDown(kKeyDown);
}

bool actionConfirm() {
    for (int i = 0; i < kConfirmButtons; ++i) {
        for (JoystickDevice* device : theJoysticks) {
            if (device != nullptr && device->button(i)) {
                return true;
            }
        }
    }
    return keyDown(kKeyReturn) || keyDown(kKeySpace) || keyDown(kKeyE);
}

bool actionBack() {
    return keyDown(kKeyEscape);
}

void consumeActions() {
    if (theKeyState != nullptr) {
        for (int key : kConsumedKeys) {
            theKeyState->consume(key);
        }
    }
    for (JoystickDevice* device : theJoysticks) {
        if (device != nullptr) {
            device->clearHat();
        }
    }
    for (int i = 0; i < kConfirmButtons; ++i) {
        for (JoystickDevice* device : theJoysticks) {
            if (device != nullptr) {
                device->setButton(i, false);
            }
        }
    }
}
