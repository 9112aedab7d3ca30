// The play frame drawn the way the game drew it before its drawing was made cheaper: the window filled
// by one black quad, then the field cell by cell, one bind and one batch per quad. Kept frozen as the
// yardstick the game's own drawing is held to, pixel for pixel. It draws everything an ordinary frame
// shows except crawlers (a world given to it has none).
#pragma once

class World;

// After Viewport::begin2D: the black window and the whole field of `world`, without a buffer swap.
void drawReferencePlayFrame(const World& world);
