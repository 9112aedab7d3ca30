// Program entry: open a window, play, shut down. SDL.h is included so that platforms whose SDL wraps
// the entry point can do so.
#include <SDL/SDL.h>

#include "app/display.h"
#include "app/game.h"

int main(int argc, char** argv) {
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
