// Sound: one sound effect, decoded completely when loaded. Owned by the resource manager.
#pragma once

#include <string>

struct Mix_Chunk;

class Sound {
public:
    Sound() = default;
    ~Sound(); // halts every mixer channel before freeing a held sample
    Sound(const Sound&) = delete;
    Sound& operator=(const Sound&) = delete;

    // Loads the sample in the resource file at path, replacing any held one. True when a sample is held.
    bool loadSound(const std::string& path);
    // Plays the sample once at volume 0..1 on the first free channel; dropped when all are busy.
    void playSound(float volume);

    bool hasSample() const { return sample_ != nullptr; }

private:
    void freeSample();

    Mix_Chunk* sample_ = nullptr;
};
