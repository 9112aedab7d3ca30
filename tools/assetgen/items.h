// The item each room's avatar takes before it can open its door.
#pragma once

#include "tools/assetgen/pixel_canvas.h"

// frame 0 resting on its spot; 1..3 lifting away in a growing sparkle.
PixelCanvas drawItem(int room, int frame);
