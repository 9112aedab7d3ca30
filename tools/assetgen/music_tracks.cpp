// Layers are rendered with their own reverb share; because the reverb is linear, a track is just the
// weighted sum of its layers. One master gain, set by the loudest track, keeps every layer at the same
// loudness in every track, so a switch between tracks never jumps in volume. Every layer is centred on
// zero: the game swaps tracks mid-loop, and a layer with an offset would thump in and out with it.
#include "tools/assetgen/music_tracks.h"

#include <algorithm>
#include <cmath>

#include "tools/assetgen/music_instruments.h"
#include "tools/assetgen/music_reverb.h"
#include "tools/assetgen/music_score.h"
#include "tools/encoders/ogg_encoder.h"

namespace {
// Removes what is left of a constant offset after the instruments (a kick's first half-wave, a filter's
// settling), so the layer averages exactly zero over the loop.
void centreOnZero(std::vector<float>& samples) {
    double sum = 0;
    for (float sample : samples) {
        sum += sample;
    }
    const float mean = static_cast<float>(sum / static_cast<double>(samples.size()));
    for (float& sample : samples) {
        sample -= mean;
    }
}
} // namespace

MusicTracks::MusicTracks() {
    for (int layer = 0; layer < kLayerCount; ++layer) {
        StereoLoop loop;
        const std::vector<Note> notes = layerNotes(static_cast<Layer>(layer));
        for (size_t i = 0; i < notes.size(); ++i) {
            renderNote(notes[i], layer * 1000 + static_cast<int>(i), loop);
        }
        addLoopedReverb(loop, layerReverbSend(static_cast<Layer>(layer)));
        centreOnZero(loop.left);
        centreOnZero(loop.right);
        layerLeft_.push_back(std::move(loop.left));
        layerRight_.push_back(std::move(loop.right));
    }
    float peak = 0;
    std::vector<float> left, right;
    for (int track = 0; track < 10; ++track) {
        mixTrack(track, left, right);
        for (int i = 0; i < kLoopFrames; ++i) {
            peak = std::max(peak, std::max(std::fabs(left[i]), std::fabs(right[i])));
        }
    }
    masterGain_ = peak > 0 ? 0.85f / peak : 1.0f;
}

void MusicTracks::mixTrack(int track, std::vector<float>& left, std::vector<float>& right) const {
    left.assign(kLoopFrames, 0.0f);
    right.assign(kLoopFrames, 0.0f);
    for (int layer = 0; layer < kLayerCount; ++layer) {
        const float gain = trackLayerGain(track, static_cast<Layer>(layer)) * masterGain_;
        if (gain == 0) {
            continue;
        }
        for (int i = 0; i < kLoopFrames; ++i) {
            left[i] += layerLeft_[layer][i] * gain;
            right[i] += layerRight_[layer][i] * gain;
        }
    }
}

bool MusicTracks::encodeTrack(int track, std::vector<uint8_t>& out) const {
    std::vector<float> left, right;
    mixTrack(track, left, right);
    return encodeOggVorbis({left, right}, kMusicRate, 0.25f, 0x7a0c + track, out);
}
