// Floors and walls of the rooms: a resting frame and three frames of a short shimmer each.
#pragma once

#include "tools/assetgen/pixel_canvas.h"

enum class WallPart { Top, Bottom, Left, Right, TopLeft, TopRight, BottomLeft, BottomRight };

// variant 1..4 (texture numbers 10, 20, 30, 40 of the room), frame 0..3.
PixelCanvas drawFloor(int room, int variant, int frame);
PixelCanvas drawWall(int room, WallPart part, int frame);
// The top wall's bare blocks, the background of doors and buttons.
PixelCanvas drawTopWallBackground(int room);
// Brightens a diagonal band that runs across the tile over frames 1..3; frame 0 is left alone.
void addShimmer(PixelCanvas& canvas, int frame, Colour glint, float strength);
