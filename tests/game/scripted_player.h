// A scripted player that wins taVok. It reads the World to plan (where the avatars stand, which button
// does what, items and doors) but acts only as a person would: by pressing and releasing keys in the
// KeyState, one frame at a time.
//
// The plan works down from the top: the highest avatar still in play takes its item, opens its door
// and leaves. To move avatar k one step, avatar k - 1 walks under the right button of its room, faces
// it and acts, which in turn needs avatar k - 2, and so on down to the player's own avatar 0.
#pragma once

#include <vector>

class World;

class ScriptedPlayer {
public:
    // Plays one frame: presses or releases a key if it is time to, then updates the World by dt.
    void playFrame(World& world, float dt);
    // The keyboard half of a frame alone, for a game whose own main loop updates the World.
    void pressKeys(const World& world);

    int keyPresses() const { return keyPresses_; }
    // The keys pressed so far, in order (key symbols).
    const std::vector<int>& pressedKeys() const { return pressed_; }

private:
    int heldKey_ = 0;
    int framesHeld_ = 0;
    int keyPresses_ = 0;
    std::vector<int> pressed_;
};

// What avatar 0 should do next to bring the game one step nearer its end, as an avatar command
// (1 up, 2 down, 3 left, 4 right, 5 act); 0 once nothing is left to do or while avatars are busy.
int nextPlayerCommand(const World& world);
