// The services a World needs, set up in a scratch working directory whose home folder (and desktop)
// lies inside it, so that a game's files never reach the real desktop. Every test of the game's rules
// starts from this fixture.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "tests/support/scratch_files.h"

class Avatar;
class World;

class GameFixture : public ::testing::Test {
protected:
    GameFixture();
    ~GameFixture() override;

    // A new World with the random source seeded, installed as theWorld.
    World& newWorld(unsigned seed);
    void deleteWorld();
    // Runs n updates of dt seconds.
    void run(int frames, float dt = 1.0f / 60.0f);

    std::string home() const { return scratch_.file("home"); }
    std::string desktop() const { return scratch_.file("home/Desktop"); }
    std::string path(const std::string& name) const { return scratch_.file(name); }

    ScratchDir scratch_;

private:
    WorkingDirectory workingDirectory_;
};

// Sets or unsets an environment variable for the rest of the test; the fixture restores the old value.
void setEnvironment(const char* name, const char* value);

// The avatar of a room; fails the test when the World has none.
Avatar& avatarOf(World& world, int index);
// The column of room `room`'s button of the given type, or -1.
int buttonColumn(const World& world, int room, int type);
