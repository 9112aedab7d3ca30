// Sound effects: samples decoded whole from unscrambled resource files.
#include "audio/sound.h"

#include <SDL/SDL_mixer.h>
#include <cstdlib>

#include "audio/audio_header.h"
#include "resources/resource_file.h"

Sound::~Sound() {
    freeSample();
}

void Sound::freeSample() {
    if (sample_ != nullptr) {
        // A channel may still be playing the sample; SDL_mixer offers no way to halt just those, so all
        // channels stop.
        Mix_HaltChannel(-1);
        Mix_FreeChunk(sample_);
        sample_ = nullptr;
    }
}

bool Sound::loadSound(const std::string& path) {
    freeSample();
    size_t length = 0;
    uint8_t* bytes = readResourceFile(path, &length);
    if (bytes != nullptr && audioHeaderIsSafe(bytes, length)) {
        SDL_RWops* stream = SDL_RWFromMem(bytes, static_cast<int>(length));
        if (stream != nullptr) {
            sample_ = Mix_LoadWAV_RW(stream, 0);
            SDL_RWclose(stream);
        }
    }
    free(bytes);
    return sample_ != nullptr;
}

void Sound::playSound(float volume) {
    if (sample_ == nullptr) {
        return;
    }
    const int channel = Mix_PlayChannelTimed(-1, sample_, 0, -1);
    if (channel == -1) {
        return;
    }
    const float held = volume > 1.0f ? 1.0f : (volume > 0.0f ? volume : 0.0f);
    Mix_Volume(channel, static_cast<int>(held * MIX_MAX_VOLUME));
    Mix_SetPanning(channel, 255, 255);
}
