// Program entry: open a window, play, shut down. SDL.h is included so that platforms whose SDL wraps
// the entry point can do so.
#include <SDL/SDL.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/allocator.h"
#include "app/display.h"
#include "app/game.h"
#include "game/world_tables.h"
#include "input/joystick_paths.h"
#include "render/picture_prefetch.h"
#include "resources/resource_file.h"

namespace {
// Every picture the world asks for at start-up.
std::vector<std::string> worldPicturePaths() {
    std::vector<std::string> paths;
    for (int number : allTextureNumbers()) {
        paths.push_back(resourcePath(number));
    }
    return paths;
}
} // namespace

int main(int argc, char** argv) {
    // Before anything allocates: the GL driver's per-frame buffers must stay in the heap instead of
    // being faulted in from the kernel anew every frame (allocator.cpp says why).
    raiseAllocatorThresholds();
    // Before SDL opens the joysticks a player named, and before a second thread could read the
    // environment while it changes: only real devices.
    keepOnlyJoystickDevices();
    // Opening the window takes longer than decoding every picture, so the pictures are decoded on a
    // second thread meanwhile; the textures are made from them on this thread once the window exists.
    PicturePrefetch pictures(worldPicturePaths());
    pictures.start(1);
    if (!openFirstDisplay(parseDisplayRequest(argc, argv), openDisplay)) {
        // The one line the game ever writes to a terminal: started where no display can be reached (over
        // ssh, from a text console), or where none of the modes opens, a player would otherwise see
        // nothing happen at all.
        std::fputs("taVok: no display could be opened\n", stderr);
        return 1;
    }
    Game* game = new Game;
    game->init(&pictures);
    // The world has taken every picture it needs; what is left (nothing, normally) is dropped.
    pictures.finish();
    const bool ordinaryEnd = game->run();
    game->shutdown();
    delete game;
    closePlatform();
    return ordinaryEnd ? 0 : 1;
}
