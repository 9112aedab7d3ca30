// Avatar: one figure of the play field, one per room. Avatar 0 follows the player's actions; every
// other avatar moves only when the avatar of the room below acts on one of its room's buttons. An
// avatar steps cell by cell, acts on the cell in front of it halfway through its act animation, and
// leaves the game by walking into its open door.
#pragma once

#include <cstdint>

#include "game/world_tables.h"

class Texture;

class Avatar {
public:
    enum Facing { kFacingLeft = 0, kFacingRight = 1, kFacingUp = 2, kFacingDown = 3 };
    enum AnimState { kIdle = 0, kGlance = 1, kStep = 2, kAct = 3 };
    enum Command {
        kNoCommand = 0,
        kCommandUp = 1,
        kCommandDown = 2,
        kCommandLeft = 3,
        kCommandRight = 4,
        kCommandAct = 5
    };

    // Requests the avatar's 64 pictures; the World places it afterwards.
    explicit Avatar(int index);
    Avatar(const Avatar&) = delete;
    Avatar& operator=(const Avatar&) = delete;

    // Gives back the reference on every picture; the World calls it before destroying the avatar.
    void releaseTextures();
    void update(float dt);
    void draw() const;

    // A command from a button of the room below (kCommandUp .. kCommandAct); lost while a step or act
    // is under way, where the player's own command would wait.
    void remoteCommand(int command);
    // The five buttons' commands by the names the rules give them.
    void stepUp() { remoteCommand(kCommandUp); }
    void stepDown() { remoteCommand(kCommandDown); }
    void stepLeft() { remoteCommand(kCommandLeft); }
    void stepRight() { remoteCommand(kCommandRight); }
    void remoteAct() { remoteCommand(kCommandAct); }
    // The glance that passes up through the rooms; only an idle avatar that is still here starts it.
    void startGlance();

    bool controlled;
    int32_t index;
    int32_t x;
    int32_t y;
    bool exited;
    int32_t pendingCommand;
    int32_t facing;
    int32_t animState;
    float animProgress;
    Texture* frameTextures[4][4][kFramesPerTexture]; // by facing, animation state, frame

private:
    void step(int direction);
    void startAnimation(int state);
    bool readyForCommand() const;
    void runCommand(int command);
    void readPlayerInput();
    void leave();
};
