// The one current music, decoded by SDL_mixer from the unscrambled file held in memory.
#include "audio/music_player.h"

#include <SDL/SDL_mixer.h>
#include <cstdlib>

#include "audio/audio_header.h"
#include "resources/resource_file.h"

MusicPlayer::~MusicPlayer() {
    unloadMusic();
}

void MusicPlayer::unloadMusic() {
    // The music goes first: the mixer's thread reads the stream, and the stream reads the bytes.
    if (music_ != nullptr) {
        Mix_HaltMusic();
        Mix_FreeMusic(music_);
        music_ = nullptr;
    }
    if (stream_ != nullptr) {
        SDL_RWclose(stream_);
        stream_ = nullptr;
    }
    free(bytes_);
    bytes_ = nullptr;
}

bool MusicPlayer::loadMusic(const std::string& path) {
    unloadMusic();
    if (path.empty()) {
        return false;
    }
    size_t length = 0;
    bytes_ = readResourceFile(path, &length);
    if (bytes_ != nullptr && audioHeaderIsSafe(bytes_, length)) {
        stream_ = SDL_RWFromMem(bytes_, static_cast<int>(length));
        music_ = stream_ != nullptr ? Mix_LoadMUS_RW(stream_) : nullptr;
    }
    if (music_ == nullptr) {
        unloadMusic();
        return false;
    }
    // Loaded music always plays, paused: resumeMusic makes it heard.
    Mix_PlayMusic(music_, -1);
    Mix_PauseMusic();
    return true;
}

void MusicPlayer::resumeMusic() {
    if (music_ != nullptr) {
        Mix_ResumeMusic();
    }
}

void MusicPlayer::pauseMusic() {
    if (music_ != nullptr) {
        Mix_PauseMusic();
    }
}

void MusicPlayer::rewindMusic() {
    if (music_ != nullptr) {
        Mix_HaltMusic();
        Mix_PlayMusic(music_, -1);
        Mix_PauseMusic();
    }
}

bool MusicPlayer::setMusicPosition(double seconds) {
    return music_ != nullptr && Mix_SetMusicPosition(seconds) == 0;
}

void MusicPlayer::setMusicVolume(float fraction) {
    // Out-of-range and not-a-number fractions are held to 0..1 rather than handed to the cast.
    const float held = fraction > 1.0f ? 1.0f : (fraction > 0.0f ? fraction : 0.0f);
    Mix_VolumeMusic(static_cast<int>(held * MIX_MAX_VOLUME));
}
