// Opening the mixer with the game's fixed settings.
#include "audio/audio_device.h"

#include <SDL/SDL_mixer.h>

bool openAudio() {
    if (Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 2048) == -1) {
        return false;
    }
    Mix_AllocateChannels(16);
    return true;
}

void closeAudio() {
    Mix_CloseAudio();
}
