// The joystick paths of SDL_JOYSTICK_DEVICE that SDL may open: character devices only.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/stat.h>

#include "input/joystick_paths.h"
#include "tests/support/scratch_files.h"

// A FIFO would keep SDL waiting in open() for ever, a regular file is no joystick; devices reached
// through a link stay, in their order.
TEST(JoystickPaths, OnlyCharacterDevicesAreLeftForSdlToOpen) {
    ScratchDir dir;
    ASSERT_EQ(mkfifo(dir.file("fifo").c_str(), 0600), 0);
    ASSERT_TRUE(writeWholeFile(dir.file("file"), {1}));
    ASSERT_EQ(symlink("/dev/zero", dir.file("pad").c_str()), 0);
    const std::string list = dir.file("fifo") + ":/dev/null::" + dir.file("file") + ":" + dir.file("pad") +
                             ":" + dir.file("missing");
    setenv("SDL_JOYSTICK_DEVICE", list.c_str(), 1);
    keepOnlyJoystickDevices();
    EXPECT_STREQ(std::getenv("SDL_JOYSTICK_DEVICE"), ("/dev/null:" + dir.file("pad")).c_str());
    setenv("SDL_JOYSTICK_DEVICE", dir.file("fifo").c_str(), 1);
    keepOnlyJoystickDevices();
    EXPECT_EQ(std::getenv("SDL_JOYSTICK_DEVICE"), nullptr) << "nothing left: SDL looks where it always does";
}
