// Each room's look: picture size and a palette in harmony with the colour of its door light. Whether a
// room is drawn for smooth (linear) filtering is the game's own rule (roomDrawnSmooth).
#pragma once

#include "tools/assetgen/pixel_canvas.h"

struct RoomStyle {
    int size;     // texture side in pixels
    Colour floor; // floor base
    Colour floorLight;
    Colour floorDark;
    Colour wall; // wall base
    Colour wallLight;
    Colour wallDark;
    Colour mortar;    // joints between blocks or planks
    Colour trim;      // the edge where a wall meets the floor
    Colour plate;     // button plates and door frames
    Colour symbol;    // button symbols at rest
    Colour symbolLit; // button symbols while pressed
    Colour glint;     // the shimmer that runs over floors and walls
    Colour doorLight; // the light the game draws behind the door
};

// room 0..4
const RoomStyle& roomStyle(int room);
// A canvas of the room's size with its smoothing set.
PixelCanvas roomCanvas(int room);
