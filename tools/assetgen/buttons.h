// The five buttons of a room's top wall and its door.
#pragma once

#include "tools/assetgen/pixel_canvas.h"

enum class ButtonCommand { Left, Right, Up, Down, Act };

// frame 0 at rest, 1 pressed in, 2 held and lit, 3 springing back.
PixelCanvas drawButton(int room, ButtonCommand command, int frame);
// frame 0 closed, 1 and 2 opening, 3 open. The doorway is transparent where the door light shines
// through: a window in the closed door, the whole opening once it is open.
PixelCanvas drawDoor(int room, int frame);
