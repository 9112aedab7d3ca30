// The numbering: room g's tiles are 1000 (g + 1) + 10 .. 180 (+ frame), its item 1000 g + 1190,
// the outside strips 8010 .. 8090, and the avatars 71000 + 1000 i + 100 S + 10 f + k.
#include "tools/assetgen/texture_catalog.h"

#include "tools/assetgen/avatars.h"
#include "tools/assetgen/buttons.h"
#include "tools/assetgen/items.h"
#include "tools/assetgen/outside.h"
#include "tools/assetgen/tiles.h"

namespace {
bool drawRoomTile(int room, int kind, int frame, PixelCanvas& out) {
    switch (kind) {
    case 10:
    case 20:
    case 30:
    case 40:
        out = drawFloor(room, kind / 10, frame);
        return true;
    case 50:
        out = drawWall(room, WallPart::Top, frame);
        return true;
    case 60:
        out = drawWall(room, WallPart::Bottom, frame);
        return true;
    case 70:
        out = drawWall(room, WallPart::Left, frame);
        return true;
    case 80:
        out = drawWall(room, WallPart::Right, frame);
        return true;
    case 90:
        out = drawWall(room, WallPart::TopLeft, frame);
        return true;
    case 100:
        out = drawWall(room, WallPart::TopRight, frame);
        return true;
    case 110:
        out = drawWall(room, WallPart::BottomLeft, frame);
        return true;
    case 120:
        out = drawWall(room, WallPart::BottomRight, frame);
        return true;
    case 130:
        out = drawDoor(room, frame);
        return true;
    case 140:
        out = drawButton(room, ButtonCommand::Left, frame);
        return true;
    case 150:
        out = drawButton(room, ButtonCommand::Right, frame);
        return true;
    case 160:
        out = drawButton(room, ButtonCommand::Up, frame);
        return true;
    case 170:
        out = drawButton(room, ButtonCommand::Down, frame);
        return true;
    case 180:
        out = drawButton(room, ButtonCommand::Act, frame);
        return true;
    case 190:
        out = drawItem(room, frame);
        return true;
    default:
        return false;
    }
}
} // namespace

PixelCanvas drawTexture(int number, bool& known) {
    PixelCanvas out(16, 16);
    known = false;
    const int frame = number % 10;
    if (frame > 3) {
        return out;
    }
    if (number >= 71000 && number < 76000) {
        const int index = (number - 71000) / 1000, rest = number % 1000;
        const int pictureSet = rest / 100, facing = (rest / 10) % 10;
        if (pictureSet <= 2 && facing <= 3) {
            known = true;
            out = drawAvatar(index, facing, pictureSet, frame);
        }
        return out;
    }
    if (number >= 8010 && number < 8100) {
        const int run = number - frame;
        if (run <= 8070 || run == 8090) {
            known = true;
            out = drawOutside(run, frame);
        }
        return out;
    }
    if (number >= 1000 && number < 6000) {
        // Items of room g are 1000 g + 1190, which is room g's own thousand plus 190.
        const int room = number / 1000 - 1;
        known = drawRoomTile(room, number % 1000 - frame, frame, out);
    }
    return out;
}
