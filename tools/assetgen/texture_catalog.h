// From a texture number the game asks for to the picture drawn for it.
#pragma once

#include "tools/assetgen/pixel_canvas.h"

// Draws texture number n. known is set false (and a blank picture returned) for numbers that name
// nothing the generator knows how to draw.
PixelCanvas drawTexture(int number, bool& known);
