// The ten music tracks: every layer of the arrangement rendered once, then mixed per track and encoded.
#pragma once

#include <cstdint>
#include <vector>

class MusicTracks {
public:
    // Renders the layers (the slow part, done once for all tracks).
    MusicTracks();

    // The Ogg Vorbis file of track n (0..9); false if encoding failed.
    bool encodeTrack(int track, std::vector<uint8_t>& out) const;

private:
    std::vector<std::vector<float>> layerLeft_;
    std::vector<std::vector<float>> layerRight_;
    float masterGain_ = 1.0f;
    void mixTrack(int track, std::vector<float>& left, std::vector<float>& right) const;
};
