// One joystick (SDL device index 0 or 1): the pressed state of its buttons and the four directions of
// its hat, fed by the main loop's joystick events. A missing device simply stays released.
#pragma once

union SDL_Event;
struct _SDL_Joystick;

class JoystickDevice {
public:
    static constexpr int kButtonCount = 32;

    // Opens the device when SDL reports that many joysticks; otherwise the object stays empty.
    explicit JoystickDevice(int index);
    ~JoystickDevice();
    JoystickDevice(const JoystickDevice&) = delete;
    JoystickDevice& operator=(const JoystickDevice&) = delete;

    // Takes button and hat events of this device's index; events of other devices are ignored.
    void handleJoystickEvent(const SDL_Event& event);

    int index() const { return index_; }
    bool isOpen() const { return handle_ != nullptr; }
    // Buttons 0 to 31; any other number reads as released.
    bool button(int i) const { return i >= 0 && i < kButtonCount && buttons_[i]; }
    // Sets a button's state; numbers outside 0..31 are ignored.
    void setButton(int i, bool pressed);
    void clearHat() { hatLeft = hatRight = hatUp = hatDown = false; }

    bool hatLeft = false;
    bool hatRight = false;
    bool hatUp = false;
    bool hatDown = false;

private:
    int index_;
    _SDL_Joystick* handle_ = nullptr;
    bool buttons_[kButtonCount] = {};
};

// Devices 0 and 1, created and destroyed with the other program-wide services (app/services.h); a null
// slot reads as a device with nothing pressed.
extern JoystickDevice* theJoysticks[2];
