// The synthesised instruments: each note is rendered straight into a stereo loop buffer, wrapping round
// the loop's end, so a note that rings past the last beat sounds again at the first.
#pragma once

#include <vector>

#include "tools/assetgen/music_score.h"

struct StereoLoop {
    std::vector<float> left = std::vector<float>(kLoopFrames);
    std::vector<float> right = std::vector<float>(kLoopFrames);
};

// Adds one note to the loop. seed varies the noise and phases between otherwise equal notes.
void renderNote(const Note& note, int seed, StereoLoop& loop);
