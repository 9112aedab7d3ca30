// The desktop icon: the player's little robot in front of a lit doorway.
#pragma once

#include "tools/assetgen/pixel_canvas.h"

PixelCanvas drawIcon(int size);
