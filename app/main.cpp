// Program entry: open a window, play, shut down. SDL.h is included so that platforms whose SDL wraps
// the entry point can do so.
#include <SDL/SDL.h>

#include "app/allocator.h"
#include "app/display.h"
#include "app/game.h"

int main(int argc, char** argv) {
    // Before anything allocates: the GL driver's per-frame buffers must stay in the heap instead of
    // being faulted in from the kernel anew every frame (allocator.cpp says why).
    raiseAllocatorThresholds();
    if (!openFirstDisplay(parseDisplayRequest(argc, argv), openDisplay)) {
        return 1;
    }
    Game* game = new Game;
    game->init();
    const bool ordinaryEnd = game->run();
    game->shutdown();
    delete game;
    closePlatform();
    return ordinaryEnd ? 0 : 1;
}
