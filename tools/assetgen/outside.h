// The strips left and right of the rooms: a plain night backdrop with animated decorations.
#pragma once

#include "tools/assetgen/pixel_canvas.h"

// number is the first texture of a run: 8010 .. 8070 decorations, 8090 plain backdrop; frame 0..3.
PixelCanvas drawOutside(int number, int frame);
