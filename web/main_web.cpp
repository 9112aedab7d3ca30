// Program entry of the browser edition. main opens the window while the page still downloads the
// resource files, and the page calls tavok_start_game once they are in. The page cannot block, so
// instead of Game::run's loop the browser calls one pass per display frame; the frame clock measures
// and clamps the step exactly as on the desktop, and holds the passes to its target rate. The window
// is the page's canvas, at the size the page gives it (web/canvas_fit.js), followed before every pass
// (web/page_input.cpp).
#include <emscripten.h>

#include <SDL/SDL.h>

#include <cstdlib>
#include <cstring>
#include <optional>

#include "app/display.h"
#include "app/frame_clock.h"
#include "app/game.h"
#include "app/fatal.h"
#include "app/services.h"
#include "game/world.h"
#include "resources/resource_access.h"
#include "resources/resource_file.h"
#include "web/gl_warm_up.h"
#include "web/page_files.h"
#include "web/page_input.h"

// The test page only, which docs/layers.md allows by name.
#ifdef TAVOK_WEB_AUTOPLAY
#include "app/viewport.h"
#include "bench/system/world_rig.h"
#include "game/crawler_batch.h"
#include "tests/game/scripted_player.h"
#endif

extern "C" {
// web/tavok_library.js
int tavok_canvas_width();
int tavok_canvas_height();
void tavok_display_ready();
void tavok_page_started();
void tavok_first_frame_drawn();
void tavok_game_ended(int exitCode);
void tavok_install_probes();
uint8_t* tavok_bundled_file(const char* path, size_t* length);
}

namespace {
Game* game = nullptr;
PageFiles pageFiles;

// The resource files come from the bundle the page downloaded, not from files in the page's file
// system: putting hundreds of them there, and finding each again by its path, took a good part of the
// start.
uint8_t* readBundledFile(const std::string& path, size_t* length) {
    return tavok_bundled_file(path.c_str(), length);
}

#ifdef TAVOK_WEB_AUTOPLAY
// Test pages only: the scripted player of the desktop tests plays through the keyboard state, several
// fixed 1/60 s steps of the world per browser frame so that a whole game takes minutes rather than its
// ten or so of play.
ScriptedPlayer* autoplayer = nullptr;
int autoplayPasses = 1;
constexpr float kAutoplayStep = 1.0f / 60.0f;
// Test pages only, for measuring frames: the field held lit, and with every swarm at its cap.
bool holdFieldLit = false;
bool fillSwarms = false;
#endif

void endGame(bool ordinaryEnd) {
    game->shutdown();
    delete game;
    game = nullptr;
    closePlatform();
    emscripten_cancel_main_loop();
    tavok_game_ended(ordinaryEnd ? 0 : 1);
}

// The page shows the canvas once the first pass has drawn on it.
bool firstPassDone = false;

// How long the passes take in the page (the page's own work; the browser draws afterwards).
double passMillisecondsTotal = 0.0;
double passMillisecondsLongest = 0.0;
int passesTimed = 0;
// The world's steps that were not drawn (the scripted player's fast play).
int worldStepsUndrawn = 0;

// One pass, as Game::run does it; true when the game has ended.
bool pass(float dt) {
    const double start = emscripten_get_now();
    readPageInput();
    const std::optional<bool> result = game->runPass(dt);
    pageFiles.afterPass();
    const double took = emscripten_get_now() - start;
    passMillisecondsTotal += took;
    passMillisecondsLongest = took > passMillisecondsLongest ? took : passMillisecondsLongest;
    ++passesTimed;
    if (result) {
        endGame(*result);
        return true;
    }
    if (!firstPassDone) {
        firstPassDone = true;
        tavok_first_frame_drawn();
    }
    return false;
}

#ifdef TAVOK_WEB_AUTOPLAY
// Drawing a frame costs the page far more than stepping the world (the GL emulation runs in
// JavaScript), and only the last picture of a browser frame is ever seen. So all steps but the last go
// to the world alone, as the desktop tests play; the last is a whole pass of the game, drawn.
void autoplayFrame() {
    for (int i = 0; i + 1 < autoplayPasses && gameMode == kModePlay && theWorld != nullptr; ++i) {
        autoplayer->playFrame(*theWorld, kAutoplayStep);
        ++worldStepsUndrawn;
        pageFiles.afterPass();
    }
    if (gameMode == kModePlay && theWorld != nullptr) {
        autoplayer->pressKeys(*theWorld);
    }
    pass(kAutoplayStep);
}
#endif

void browserFrame() {
#ifdef TAVOK_WEB_AUTOPLAY
    if (autoplayer != nullptr) {
        autoplayFrame();
        return;
    }
    if (fillSwarms && theWorld != nullptr) {
        fillSwarmsToCap(*theWorld);
        fillSwarms = false;
    }
    if (holdFieldLit && theWorld != nullptr) {
        keepFieldLit(*theWorld);
    }
#endif
    if (!theFrameClock->passIsDue(SDL_GetTicks())) {
        return;
    }
    pass(theFrameClock->waitFrame());
}
} // namespace

// What the browser tests and measurements read from the page.
extern "C" {
EMSCRIPTEN_KEEPALIVE const char* tavok_message_text() {
    return messageText.c_str();
}
EMSCRIPTEN_KEEPALIVE int tavok_game_mode() {
    return gameMode;
}
EMSCRIPTEN_KEEPALIVE int tavok_crawler_count() {
    return theWorld != nullptr ? static_cast<int>(theWorld->crawlers.size()) : 0;
}
EMSCRIPTEN_KEEPALIVE int tavok_music_number() {
    return currentMusicNumber();
}
EMSCRIPTEN_KEEPALIVE int tavok_avatar_count() {
    return theWorld != nullptr ? static_cast<int>(theWorld->avatars.size()) : 0;
}
// Mean and longest pass in milliseconds since the last call, and how many passes ran.
EMSCRIPTEN_KEEPALIVE double tavok_pass_mean_ms() {
    return passesTimed > 0 ? passMillisecondsTotal / passesTimed : 0.0;
}
EMSCRIPTEN_KEEPALIVE double tavok_pass_longest_ms() {
    return passMillisecondsLongest;
}
EMSCRIPTEN_KEEPALIVE int tavok_passes_timed() {
    return passesTimed;
}
EMSCRIPTEN_KEEPALIVE void tavok_pass_times_reset() {
    passMillisecondsTotal = 0.0;
    passMillisecondsLongest = 0.0;
    passesTimed = 0;
}
EMSCRIPTEN_KEEPALIVE int tavok_world_steps_undrawn() {
    return worldStepsUndrawn;
}
#ifdef TAVOK_WEB_AUTOPLAY
// Test pages only: the crawler bodies' triangles of the present world as the game's batch gathers them
// (six floats a corner: 0, u, v in window units before the field's shift, then r, g, b), for the
// bare-WebGL page that bench/web/swarm_page.mjs measures beside the game's.
CrawlerBatch benchBatch;
EMSCRIPTEN_KEEPALIVE int tavok_gather_crawler_corners() {
    if (theWorld == nullptr) {
        return 0;
    }
    benchBatch.gather(theWorld->crawlers, theViewport->height / 21.0f, theWorld->tintCurrent);
    return static_cast<int>(benchBatch.vertexCount());
}
EMSCRIPTEN_KEEPALIVE const float* tavok_crawler_corners() {
    return benchBatch.vertexCount() > 0 ? &benchBatch.vertices()->x : nullptr;
}
// Test pages only: 1 draws the field cell by cell, as before its picture was kept between frames, so
// that bench/web/swarm_page.mjs can time both in one run.
EMSCRIPTEN_KEEPALIVE void tavok_draw_field_directly(int on) {
    if (theWorld != nullptr) {
        theWorld->keepFieldPicture = on == 0;
    }
}
#endif
}

int main(int argc, char** argv) {
    (void)argc;
    (void)argv;
#ifdef TAVOK_WEB_AUTOPLAY
    // "autoplay N": the scripted player plays, N world steps per browser frame, the last one drawn.
    // "lit": the field is held lit as the game is played by hand. "swarms": the same, with every room's
    // swarm at its cap from the first pass.
    if (argc >= 2 && std::strcmp(argv[1], "autoplay") == 0) {
        autoplayer = new ScriptedPlayer;
        autoplayPasses = argc >= 3 ? std::atoi(argv[2]) : 1;
        if (autoplayPasses < 1) {
            autoplayPasses = 1;
        }
    }
    if (argc >= 2 && (std::strcmp(argv[1], "lit") == 0 || std::strcmp(argv[1], "swarms") == 0)) {
        holdFieldLit = true;
        fillSwarms = std::strcmp(argv[1], "swarms") == 0;
    }
#endif
    setResourceFileSource(readBundledFile);
    if (!openDisplay("taVok", tavok_canvas_width(), tavok_canvas_height(), false)) {
        tavok_game_ended(1);
        return 1;
    }
    tavok_install_probes();
    warmUpDrawing();
    // The resource files may still be on their way: the page starts the game once they are in.
    tavok_display_ready();
    return 0;
}

// Called by the page (web/loader.js) once the resource files are in, after main.
extern "C" EMSCRIPTEN_KEEPALIVE void tavok_start_game() {
    if (game != nullptr) {
        return;
    }
    game = new Game;
    game->init();
    tavok_page_started();
    // 0 frames per second: the browser's own display rate.
    emscripten_set_main_loop(browserFrame, 0, 0);
}
