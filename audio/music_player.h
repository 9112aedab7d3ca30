// MusicPlayer: the one current music. A music is decoded from memory while it plays, so the unscrambled
// file bytes and the memory stream over them live exactly as long as the music. Either all three of
// music, stream and bytes are held, or none.
#pragma once

#include <cstdint>
#include <string>

struct _Mix_Music;
struct SDL_RWops;

class MusicPlayer {
public:
    MusicPlayer() = default;
    ~MusicPlayer(); // unloads
    MusicPlayer(const MusicPlayer&) = delete;
    MusicPlayer& operator=(const MusicPlayer&) = delete;

    // Stops and frees the current music, then loads the resource file at path, starts it looping and
    // pauses it at once. False (and nothing loaded) for an empty path or a file that does not decode.
    bool loadMusic(const std::string& path);
    void resumeMusic();
    void pauseMusic();
    // Restarts the current music from its beginning, paused.
    void rewindMusic();
    // Moves the current music to `seconds` from its beginning, playing or paused as it was, so that a
    // new layer picks up where the old one was in the shared loop. False when no music is loaded or the
    // decoder cannot seek.
    bool setMusicPosition(double seconds);
    // 0..1, truncated onto the mixer's 0..128.
    void setMusicVolume(float fraction);
    void unloadMusic();

    bool hasMusic() const { return music_ != nullptr; }

private:
    _Mix_Music* music_ = nullptr;
    SDL_RWops* stream_ = nullptr;
    uint8_t* bytes_ = nullptr;
};
