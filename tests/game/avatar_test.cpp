// Avatars: the player's buffered command, lost remote commands, acting at the halfway mark, glances
// passing up, and leaving through the door.
#include <gtest/gtest.h>

#include "app/services.h"
#include "game/avatar.h"
#include "game/world.h"
#include "input/actions.h"
#include "input/key_state.h"
#include "resources/resource_access.h"
#include "tests/game/game_fixture.h"

class AvatarRules : public GameFixture {
protected:
    // A world whose player avatar stands idle at (x, y) facing down, with no random glance pending.
    World& worldWithPlayerAt(int x, int y) {
        World& world = newWorld(9);
        Avatar& player = avatarOf(world, 0);
        player.x = x;
        player.y = y;
        player.facing = Avatar::kFacingDown;
        player.animState = Avatar::kIdle;
        player.animProgress = 0.0f;
        return world;
    }
    void tap(int key) {
        theKeyState->press(key);
        theWorld->update(1.0f / 60.0f);
        theKeyState->release(key);
    }
};

TEST_F(AvatarRules, TheFirstInputRevealsRoomZeroAndAStepIntoAWallOnlyTurns) {
    World& world = worldWithPlayerAt(3, 1);
    Avatar& player = avatarOf(world, 0);
    world.update(1.0f / 60.0f);
    EXPECT_EQ(world.level, 0.0f);
    EXPECT_EQ(currentMusicNumber(), -1);
    tap(kKeyLeft);
    EXPECT_EQ(world.level, 1.0f);
    EXPECT_EQ(currentMusicNumber(), 1);
    EXPECT_EQ(player.x, 3) << "the side wall";
    EXPECT_EQ(player.facing, Avatar::kFacingLeft);
    EXPECT_NE(player.animState, Avatar::kStep);
    EXPECT_EQ(player.pendingCommand, 0) << "the refused step uses the command up";
    EXPECT_FALSE(theKeyState->isDown(kKeyLeft)) << "one press, one command";

    tap(kKeyD);
    EXPECT_EQ(player.x, 4);
    EXPECT_EQ(player.animState, Avatar::kStep);
}

TEST_F(AvatarRules, HeldActionsCountInTheOrderUpDownLeftRightConfirm) {
    World& world = worldWithPlayerAt(5, 1);
    Avatar& player = avatarOf(world, 0);
    theKeyState->press(kKeySpace);
    theKeyState->press(kKeyD);
    theKeyState->press(kKeyA);
    theKeyState->press(kKeyUp);
    world.update(1.0f / 60.0f);
    EXPECT_EQ(player.y, 2);
    EXPECT_EQ(player.x, 5);
    EXPECT_FALSE(actionConfirm() || actionLeft() || actionRight()) << "the others are consumed and lost";

    // Avatars other than 0 never read the keyboard.
    Avatar& second = avatarOf(world, 1);
    const int x = second.x;
    second.animState = Avatar::kIdle;
    second.animProgress = 0.0f;
    theKeyState->press(kKeyLeft);
    theKeyState->press(kKeyRight);
    world.update(0.6f);
    EXPECT_EQ(second.x, x);
}

TEST_F(AvatarRules, ThePlayersCommandWaitsDuringAStepWhileRemoteCommandsAreLost) {
    World& world = worldWithPlayerAt(5, 1);
    Avatar& player = avatarOf(world, 0);
    tap(kKeyRight);
    ASSERT_EQ(player.animState, Avatar::kStep);
    tap(kKeyUp);
    tap(kKeyLeft); // a newer command replaces the waiting one
    EXPECT_EQ(player.pendingCommand, Avatar::kCommandLeft);
    EXPECT_EQ(player.x, 6);
    // A remote command during the step is simply lost.
    player.remoteCommand(Avatar::kCommandUp);
    player.remoteCommand(Avatar::kCommandAct);
    EXPECT_EQ(player.y, 1);
    EXPECT_EQ(player.animState, Avatar::kStep);
    for (int i = 0; i < 40 && player.pendingCommand != 0; ++i) {
        world.update(1.0f / 60.0f);
    }
    EXPECT_EQ(player.x, 5) << "the waiting left step ran as the step ended";
    EXPECT_EQ(player.y, 1);
}

// A glance is no step or act: each button of the room below still steers a glancing avatar.
TEST_F(AvatarRules, EveryButtonSteersTheAvatarAboveEvenWhileItGlances) {
    struct Press {
        int button;
        int fromRow; // room 1's floor is rows 5 and 6
        int dx, dy;
        int state;
    };
    const Press presses[] = {
        {kCellButtonUp, 5, 0, 1, Avatar::kStep},    {kCellButtonDown, 6, 0, -1, Avatar::kStep},
        {kCellButtonLeft, 5, -1, 0, Avatar::kStep}, {kCellButtonRight, 5, 1, 0, Avatar::kStep},
        {kCellButtonAct, 5, 0, 0, Avatar::kAct},
    };
    World& world = newWorld(12);
    Avatar& second = avatarOf(world, 1);
    for (const Press& press : presses) {
        SCOPED_TRACE(press.button);
        second.x = 6;
        second.y = press.fromRow;
        second.animState = Avatar::kGlance;
        second.animProgress = 0.5f;
        const int x = buttonColumn(world, 0, press.button);
        world.triggerCell(x, 3, x, 2);
        EXPECT_EQ(second.x, 6 + press.dx);
        EXPECT_EQ(second.y, press.fromRow + press.dy);
        EXPECT_EQ(second.animState, press.state);
        EXPECT_EQ(second.animProgress, 1.0f);
    }
}

TEST_F(AvatarRules, AnActIsResolvedExactlyOnceAtTheHalfwayMarkEvenWithLargeSteps) {
    for (float dt : {1.0f / 60.0f, 0.125f}) {
        SCOPED_TRACE(dt);
        World& world = newWorld(21);
        Avatar& player = avatarOf(world, 0);
        Avatar& second = avatarOf(world, 1);
        const int right = buttonColumn(world, 0, kCellButtonRight);
        player.x = right;
        player.y = 2;
        player.facing = Avatar::kFacingUp;
        player.animState = Avatar::kIdle;
        player.animProgress = 0.0f;
        second.x = 3;
        second.y = 5;
        second.animState = Avatar::kIdle;
        second.animProgress = 0.0f;
        theKeyState->press(kKeyE);
        int moves = 0;
        int lastX = second.x;
        for (int frame = 0; frame < 2.0f / dt; ++frame) {
            const float before = player.animProgress;
            world.update(dt);
            if (second.x != lastX) {
                ++moves;
                lastX = second.x;
                EXPECT_EQ(player.animState, Avatar::kAct);
                EXPECT_GE(before, 0.5f);
                EXPECT_LT(player.animProgress, 0.5f);
            }
        }
        EXPECT_EQ(moves, 1);
        EXPECT_EQ(second.x, 4);
        EXPECT_LE(player.animState, Avatar::kGlance);
    }
}

TEST_F(AvatarRules, AGlanceOfTheBottomAvatarPassesUpThroughEveryRoom) {
    World& world = worldWithPlayerAt(5, 1);
    for (Avatar* avatar : world.avatars) {
        avatar->animState = Avatar::kIdle;
        avatar->animProgress = 0.0f;
    }
    avatarOf(world, 0).startGlance();
    bool glanced[kAvatarCount] = {};
    for (int i = 0; i < 60 * 4; ++i) {
        world.update(1.0f / 60.0f);
        for (const Avatar* avatar : world.avatars) {
            glanced[avatar->index] |= avatar->animState == Avatar::kGlance;
        }
    }
    for (int k = 1; k < kAvatarCount; ++k) {
        EXPECT_TRUE(glanced[k]) << k;
    }
    // A busy or departed avatar ignores the nudge.
    Avatar& third = avatarOf(world, 2);
    third.animState = Avatar::kStep;
    world.nudgeNext(2);
    EXPECT_EQ(third.animState, Avatar::kStep);
    third.animState = Avatar::kIdle;
    third.exited = true;
    world.nudgeNext(2);
    EXPECT_EQ(third.animState, Avatar::kIdle);
}

TEST_F(AvatarRules, AvatarsLeaveThroughTheirDoorAtTheirOwnThresholds) {
    const float thresholds[kAvatarCount] = {0.17f, 0.17f, 0.17f, 0.0f, 0.25f};
    for (int index = 1; index < kAvatarCount; ++index) {
        SCOPED_TRACE(index);
        World& world = newWorld(30 + index);
        for (Avatar* avatar : world.avatars) {
            avatar->animState = Avatar::kIdle;
            avatar->animProgress = 0.0f;
        }
        world.level = 5.0f;
        world.doorOpen[index] = true;
        Avatar& avatar = avatarOf(world, index);
        avatar.x = 4;
        avatar.y = 4 * index + 2;
        avatar.remoteCommand(Avatar::kCommandUp);
        ASSERT_EQ(avatar.y, 4 * index + 3);
        float progressWhenLeft = -1.0f;
        for (int i = 0; i < 60 && !avatar.exited; ++i) {
            world.update(1.0f / 60.0f);
            if (avatar.exited) {
                progressWhenLeft = avatar.animProgress;
            } else {
                EXPECT_GT(avatar.animProgress, thresholds[index]);
            }
        }
        ASSERT_TRUE(avatar.exited);
        EXPECT_LE(progressWhenLeft, thresholds[index]);
        if (index == 3) {
            EXPECT_EQ(progressWhenLeft, 0.0f) << "avatar 3 leaves only once its step has fully ended";
        }
        EXPECT_EQ(currentMusicNumber(), 10 - index);
        EXPECT_TRUE(world.itemPresent[index - 1]);
        EXPECT_GT(world.exitTime[index], 0.0f);
        EXPECT_EQ(world.crawlerCount[index], 0);
        // Gone for good: no more commands, no drawing, no updates.
        const int state = avatar.animState;
        avatar.remoteCommand(Avatar::kCommandDown);
        avatar.startGlance();
        world.update(1.0f / 60.0f);
        EXPECT_EQ(avatar.y, 4 * index + 3);
        EXPECT_EQ(avatar.animState, state);
    }
}
