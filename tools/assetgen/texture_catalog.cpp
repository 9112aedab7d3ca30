// The numbering is the game's own (game/world_tables.h): each number is read back into what it names.
#include "tools/assetgen/texture_catalog.h"

#include "game/world_tables.h"
#include "tools/assetgen/avatars.h"
#include "tools/assetgen/buttons.h"
#include "tools/assetgen/items.h"
#include "tools/assetgen/outside.h"
#include "tools/assetgen/tiles.h"

namespace {
bool drawRoomTile(int room, int kind, int frame, PixelCanvas& out) {
    if (kind >= kTileFirstFloor && kind <= kTileLastFloor) {
        out = drawFloor(room, kind / 10, frame); // variants 1 .. 4
        return true;
    }
    switch (kind) {
    case kTileTopWall:
        out = drawWall(room, WallPart::Top, frame);
        return true;
    case kTileBottomWall:
        out = drawWall(room, WallPart::Bottom, frame);
        return true;
    case kTileLeftWall:
        out = drawWall(room, WallPart::Left, frame);
        return true;
    case kTileRightWall:
        out = drawWall(room, WallPart::Right, frame);
        return true;
    case kTileTopLeftCorner:
        out = drawWall(room, WallPart::TopLeft, frame);
        return true;
    case kTileTopRightCorner:
        out = drawWall(room, WallPart::TopRight, frame);
        return true;
    case kTileBottomLeftCorner:
        out = drawWall(room, WallPart::BottomLeft, frame);
        return true;
    case kTileBottomRightCorner:
        out = drawWall(room, WallPart::BottomRight, frame);
        return true;
    case kTileDoor:
        out = drawDoor(room, frame);
        return true;
    case kTileButtonLeft:
        out = drawButton(room, ButtonCommand::Left, frame);
        return true;
    case kTileButtonRight:
        out = drawButton(room, ButtonCommand::Right, frame);
        return true;
    case kTileButtonUp:
        out = drawButton(room, ButtonCommand::Up, frame);
        return true;
    case kTileButtonDown:
        out = drawButton(room, ButtonCommand::Down, frame);
        return true;
    case kTileButtonAct:
        out = drawButton(room, ButtonCommand::Act, frame);
        return true;
    case kTileItem:
        out = drawItem(room, frame);
        return true;
    default:
        return false;
    }
}
} // namespace

PixelCanvas drawTexture(int number, bool& known) {
    PixelCanvas out(16, 16);
    const TextureName name = nameOfTexture(number);
    known = true;
    switch (name.family) {
    case TextureName::kAvatar:
        out = drawAvatar(name.owner, name.facing, name.pictureSet, name.frame);
        break;
    case TextureName::kOutside:
        out = drawOutside(outsideTextureNumber(name.kind), name.frame);
        break;
    case TextureName::kRoomTile:
        known = drawRoomTile(name.owner, name.kind, name.frame, out);
        break;
    default:
        known = false;
        break;
    }
    return out;
}
