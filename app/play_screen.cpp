// One frame of play.
#include "app/play_screen.h"

#include <SDL/SDL.h>
#include <SDL/SDL_opengl.h>

#include "app/services.h"
#include "app/viewport.h"
#include "audio/music_player.h"
#include "game/world.h"
#include "input/actions.h"
#include "render/render_state.h"

void PlayScreen::enter() {
    if (theMusicPlayer != nullptr) {
        theMusicPlayer->resumeMusic();
    }
}

void PlayScreen::leave() {
    if (theMusicPlayer != nullptr) {
        theMusicPlayer->pauseMusic();
    }
}

void PlayScreen::frame(float dt) {
    if (actionBack()) {
        consumeActions();
        gameMode = kModePause;
        return;
    }
    theWorld->update(dt);
    draw();
    SDL_GL_SwapBuffers();
}

void PlayScreen::draw() {
    // The window black is the frame's only clearing: the world draws over it. The flat colour is set
    // as before, since the world's drawing starts from that state.
    theViewport->begin2D();
    setFlatColour(0, 0, 0, 1);
    theViewport->clearOpaque(0, 0, 0);

    theWorld->draw();
}
