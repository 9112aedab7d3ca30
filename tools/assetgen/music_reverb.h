// A small room reverb run round the loop: its tail past the last frame rings on into the first, so the
// loop joins without a seam.
#pragma once

#include "tools/assetgen/music_instruments.h"

// Adds the reverb of send * (left + right) / 2 to both channels of the loop.
void addLoopedReverb(StereoLoop& loop, float send);
