// Program entry of the browser edition. The page cannot block, so instead of Game::run's loop the
// browser calls one pass per display frame; the frame clock measures and clamps the step exactly as
// on the desktop, and holds the passes to its target rate. The window is the page's canvas, at the
// size the page chose for it.
#include <emscripten.h>

#include <SDL/SDL.h>

#include <cstdlib>
#include <cstring>
#include <optional>

#include "app/display.h"
#include "app/frame_clock.h"
#include "app/game.h"
#include "app/services.h"
#include "web/page_files.h"

#ifdef TAVOK_WEB_AUTOPLAY
#include "game/world.h"
#include "tests/game/scripted_player.h"
#endif

extern "C" {
// web/tavok_library.js
int tavok_canvas_width();
int tavok_canvas_height();
void tavok_game_ended(int exitCode);
void tavok_install_probes();
}

namespace {
Game* game = nullptr;
PageFiles pageFiles;

#ifdef TAVOK_WEB_AUTOPLAY
// Test pages only: the scripted player of the desktop tests plays through the keyboard state, several
// fixed 1/60 s passes per browser frame so that a whole game takes seconds rather than minutes.
ScriptedPlayer* autoplayer = nullptr;
int autoplayPasses = 1;
#endif

void endGame(bool ordinaryEnd) {
    game->shutdown();
    delete game;
    game = nullptr;
    closePlatform();
    emscripten_cancel_main_loop();
    tavok_game_ended(ordinaryEnd ? 0 : 1);
}

// One pass, as Game::run does it; true when the game has ended.
bool pass(float dt) {
    const std::optional<bool> result = game->runPass(dt);
    pageFiles.afterPass();
    if (result) {
        endGame(*result);
        return true;
    }
    return false;
}

void browserFrame() {
#ifdef TAVOK_WEB_AUTOPLAY
    if (autoplayer != nullptr) {
        for (int i = 0; i < autoplayPasses; ++i) {
            if (gameMode == kModePlay && theWorld != nullptr) {
                autoplayer->pressKeys(*theWorld);
            }
            if (pass(1.0f / 60.0f)) {
                return;
            }
        }
        return;
    }
#endif
    if (!theFrameClock->passIsDue(SDL_GetTicks())) {
        return;
    }
    pass(theFrameClock->waitFrame());
}
} // namespace

int main(int argc, char** argv) {
    (void)argc;
    (void)argv;
#ifdef TAVOK_WEB_AUTOPLAY
    // "autoplay N": the scripted player plays, N passes per browser frame.
    if (argc >= 2 && std::strcmp(argv[1], "autoplay") == 0) {
        autoplayer = new ScriptedPlayer;
        autoplayPasses = argc >= 3 ? std::atoi(argv[2]) : 1;
        if (autoplayPasses < 1) {
            autoplayPasses = 1;
        }
    }
#endif
    if (!openDisplay("taVok", tavok_canvas_width(), tavok_canvas_height(), false)) {
        tavok_game_ended(1);
        return 1;
    }
    tavok_install_probes();
    game = new Game;
    game->init();
    // 0 frames per second: the browser's own display rate.
    emscripten_set_main_loop(browserFrame, 0, 0);
    return 0;
}
