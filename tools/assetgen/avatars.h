// The five avatars, each a figure of its own, in four facings and three animations of four frames.
#pragma once

#include "tools/assetgen/pixel_canvas.h"

// index 0..4; facing 0 left, 1 right, 2 up, 3 down; pictureSet 0 idle (frames 1..3 a glance), 1 step,
// 2 act; frame 0..3. sizeOverride > 0 draws at that size instead of the avatar's own (for the icon).
PixelCanvas drawAvatar(int index, int facing, int pictureSet, int frame, int sizeOverride = 0);
