// The platform part of start-up, for comparison: the game's own window and GL state (openDisplay) and
// the audio device, then one cleared frame presented. Run with first_frame_probe.so preloaded, which
// stops the clock at that frame exactly as it does for the game.
//
// Usage: startup_window WIDTH HEIGHT
#include <SDL/SDL.h>
#include <SDL/SDL_opengl.h>

#include <cstdlib>

#include "app/display.h"
#include "audio/audio_device.h"

int main(int argc, char** argv) {
    const int width = argc > 2 ? std::atoi(argv[1]) : 1280;
    const int height = argc > 2 ? std::atoi(argv[2]) : 720;
    if (!openDisplay("taVok", width, height, false) || !openAudio()) {
        return 1;
    }
    glClear(GL_COLOR_BUFFER_BIT);
    SDL_GL_SwapBuffers();
    closePlatform();
    return 0;
}
