#include <gtest/gtest.h>

#include <SDL/SDL.h>

#include "app/services.h"
#include "input/actions.h"
#include "input/joystick_device.h"
#include "input/key_state.h"

namespace {
// Installs a key state and both joysticks as the game does, and takes them away again.
class ActionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        theKeyState = &keys;
        theJoysticks[0] = &pad0;
        theJoysticks[1] = &pad1;
    }
    void TearDown() override {
        theKeyState = nullptr;
        theJoysticks[0] = theJoysticks[1] = nullptr;
    }

    static void hat(JoystickDevice& device, int value) {
        SDL_Event event = {};
        event.type = SDL_JOYHATMOTION;
        event.jhat.which = static_cast<Uint8>(device.index());
        event.jhat.value = static_cast<Uint8>(value);
        device.handleJoystickEvent(event);
    }

    static void button(JoystickDevice& device, int number, bool down) {
        SDL_Event event = {};
        event.type = down ? SDL_JOYBUTTONDOWN : SDL_JOYBUTTONUP;
        event.jbutton.which = static_cast<Uint8>(device.index());
        event.jbutton.button = static_cast<Uint8>(number);
        device.handleJoystickEvent(event);
    }

    KeyState keys;
    JoystickDevice pad0{0};
    JoystickDevice pad1{1};
};

struct Held {
    bool left, right, up, down, confirm, back;
    bool operator==(const Held& o) const {
        return left == o.left && right == o.right && up == o.up && down == o.down && confirm == o.confirm &&
               back == o.back;
    }
};

Held actions() {
    return {actionLeft(), actionRight(), actionUp(), actionDown(), actionConfirm(), actionBack()};
}

std::ostream& operator<<(std::ostream& out, const Held& h) {
    return out << "L" << h.left << " R" << h.right << " U" << h.up << " D" << h.down << " C" << h.confirm
               << " B" << h.back;
}
} // namespace

TEST_F(ActionsTest, EachBoundKeyHoldsExactlyItsAction) {
    const struct {
        int key;
        Held held;
    } table[] = {
        {SDLK_a, {true, false, false, false, false, false}},
        {SDLK_LEFT, {true, false, false, false, false, false}},
        {SDLK_d, {false, true, false, false, false, false}},
        {SDLK_RIGHT, {false, true, false, false, false, false}},
        {SDLK_w, {false, false, true, false, false, false}},
        {SDLK_UP, {false, false, true, false, false, false}},
        {SDLK_s, {false, false, false, true, false, false}},
        {SDLK_DOWN, {false, false, false, true, false, false}},
        {SDLK_RETURN, {false, false, false, false, true, false}},
        {SDLK_SPACE, {false, false, false, false, true, false}},
        {SDLK_e, {false, false, false, false, true, false}},
        {SDLK_ESCAPE, {false, false, false, false, false, true}},
        // Keypad keys and other letters are not bound.
        {SDLK_KP_ENTER, {false, false, false, false, false, false}},
        {SDLK_KP4, {false, false, false, false, false, false}},
        {SDLK_KP8, {false, false, false, false, false, false}},
        {SDLK_q, {false, false, false, false, false, false}},
    };
    for (const auto& row : table) {
        keys.press(row.key);
        EXPECT_EQ(actions(), row.held) << "key " << row.key;
        keys.release(row.key);
    }
    EXPECT_EQ(actions(), (Held{false, false, false, false, false, false}));
}

TEST_F(ActionsTest, EitherPadsHatSteersAndItsButtonsUpToFifteenConfirm) {
    // Right-up on the second pad alone gives two directions at once.
    hat(pad1, 3);
    EXPECT_EQ(actions(), (Held{false, true, true, false, false, false}));
    hat(pad1, 0);
    hat(pad0, 12);
    EXPECT_EQ(actions(), (Held{true, false, false, true, false, false}));
    hat(pad0, 0);

    for (JoystickDevice* pad : {&pad0, &pad1}) {
        for (int number = 0; number < 32; ++number) {
            button(*pad, number, true);
            EXPECT_EQ(actionConfirm(), number <= 15) << "pad " << pad->index() << " button " << number;
            button(*pad, number, false);
        }
    }
}

TEST_F(ActionsTest, MissingServicesReadAsReleased) {
    keys.press(SDLK_ESCAPE);
    keys.press(SDLK_RETURN);
    hat(pad0, 1);
    theKeyState = nullptr;
    theJoysticks[0] = nullptr;
    EXPECT_EQ(actions(), (Held{false, false, false, false, false, false}));
    consumeActions(); // must not touch what is not installed
    theKeyState = &keys;
    theJoysticks[0] = &pad0;
    EXPECT_EQ(actions(), (Held{false, false, true, false, true, true}));
}

TEST_F(ActionsTest, ConsumingClearsEveryBoundInputAndNothingElse) {
    for (int key : {SDLK_ESCAPE, SDLK_RETURN, SDLK_SPACE, SDLK_e, SDLK_w, SDLK_a, SDLK_s, SDLK_d, SDLK_UP,
                    SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT, SDLK_q, SDLK_KP_ENTER}) {
        keys.press(key);
    }
    for (JoystickDevice* pad : {&pad0, &pad1}) {
        hat(*pad, 9);
        for (int number = 0; number < 32; ++number) {
            button(*pad, number, true);
        }
    }
    consumeActions();
    EXPECT_EQ(actions(), (Held{false, false, false, false, false, false}));
    for (int key : {SDLK_ESCAPE, SDLK_RETURN, SDLK_SPACE, SDLK_e, SDLK_w, SDLK_a, SDLK_s, SDLK_d, SDLK_UP,
                    SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT}) {
        EXPECT_FALSE(keys.isDown(key)) << key;
    }
    // Unbound keys and the buttons no action reads are left as they are.
    EXPECT_TRUE(keys.isDown(SDLK_q));
    EXPECT_TRUE(keys.isDown(SDLK_KP_ENTER));
    for (JoystickDevice* pad : {&pad0, &pad1}) {
        EXPECT_FALSE(pad->hatLeft || pad->hatRight || pad->hatUp || pad->hatDown);
        for (int number = 0; number < 32; ++number) {
            EXPECT_EQ(pad->button(number), number >= 16) << "pad " << pad->index() << " button " << number;
        }
    }
}

TEST_F(ActionsTest, OnePressGivesOneActionAndSimultaneousPressesAreLost) {
    // The avatar's control tests up first: holding W and pressing D moves up once, and D is gone.
    keys.press(SDLK_w);
    keys.press(SDLK_d);
    ASSERT_TRUE(actionUp());
    consumeActions();
    EXPECT_FALSE(actionUp());
    EXPECT_FALSE(actionRight());
    // The keys are still physically held; only new presses count.
    keys.press(SDLK_d);
    EXPECT_TRUE(actionRight());

    // A confirm on a pad button that stays held is not seen again on the next frame.
    button(pad0, 3, true);
    ASSERT_TRUE(actionConfirm());
    consumeActions();
    EXPECT_FALSE(actionConfirm());
    button(pad0, 3, false);
    button(pad0, 3, true);
    EXPECT_TRUE(actionConfirm());
}
