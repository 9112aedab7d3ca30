// The play field's fixed data: the initial cell types and texture numbers of the 14 x 21 grid, how
// every texture number is made and read back, and the music tracks. The grids are laid out as they read on
// screen, top row (y = 20) first.
#pragma once

#include <cstdint>
#include <vector>

constexpr int kGridWidth = 14;
constexpr int kGridHeight = 21;
constexpr int kRoomCount = 5;
constexpr int kAvatarCount = 5;
constexpr int kFramesPerTexture = 4; // every texture number n names the frames n .. n + 3

enum CellType {
    kCellBackdrop = 0,
    kCellFloor = 1,
    kCellWall = 2,
    kCellDoor = 3,
    kCellButtonUp = 4,
    kCellButtonDown = 5,
    kCellButtonLeft = 6,
    kCellButtonRight = 7,
    kCellButtonAct = 8,
};

// The cells the rules talk about. Room g holds rows 4g (bottom wall) to 4g + 3 (top wall); the top wall
// carries the door and the five buttons, and the item spot is the bottom-right floor cell.
constexpr int kDoorColumn = 4;
constexpr int kFirstButtonColumn = 5;
constexpr int kLastButtonColumn = 9;
constexpr int kItemColumn = 10;
constexpr int kRowsPerRoom = 4;
constexpr int topWallRow(int room) {
    return kRowsPerRoom * room + 3;
}
constexpr int itemRow(int room) {
    return kRowsPerRoom * room + 1;
}
constexpr bool isDoorCell(int x, int y) {
    return x == kDoorColumn && y % kRowsPerRoom == 3;
}

// One step by facing (0 left, 1 right, 2 up, 3 down), in cells.
constexpr int kStepX[4] = {-1, 1, 0, 0};
constexpr int kStepY[4] = {0, 0, 1, -1};

// Each room moves at its own coarseness: avatar and item offsets snap towards zero to these fractions
// of a cell (0 = smooth).
constexpr float kSnapSteps[kRoomCount] = {0.0f, 16.0f, 32.0f, 0.0f, 4.0f};
inline float snapTowardsZero(float offset, int room) {
    const float steps = kSnapSteps[room];
    return steps == 0.0f ? offset : static_cast<float>(static_cast<int>(offset * steps)) / steps;
}

// The bottom and top rooms (their cells, items and avatars) are drawn for smooth enlarging, the middle
// rooms blocky.
constexpr bool roomDrawnSmooth(int room) {
    return room == 0 || room == kRoomCount - 1;
}

// Rooms 3 and 4 flash their untouched item: dark for three short spells every four seconds, by the
// program's millisecond clock.
constexpr bool itemBlinkedOff(uint32_t ticks) {
    const uint32_t t = ticks % 4000;
    return t <= 199 || (t >= 401 && t <= 599) || (t >= 801 && t <= 999);
}

// The light behind each room's door: the room's own colour at the foot of the door cell, fading into the
// field's tint between two heights within the cell.
struct DoorLight {
    float r, g, b;
    float bandBottom, bandTop; // the room colour fades into the tint between these heights
};
constexpr DoorLight kDoorLights[kRoomCount] = {
    {0.5f, 1.0f, 0.5f, 0.0f, 0.3f},
    {0.4f, 169.0f / 255.0f, 154.0f / 255.0f, 0.0f, 0.3f},
    {147.0f / 255.0f, 107.0f / 255.0f, 69.0f / 255.0f, 0.015f, 0.315f},
    {64.0f / 255.0f, 1.0f, 64.0f / 255.0f, 0.0f, 0.6f},
    {1.0f, 1.0f, 1.0f, 0.0f, 0.3f},
};

// Cell type of (x, y) before the buttons are shuffled.
int initialCellType(int x, int y);
// First of the four frame textures of (x, y) before the buttons are shuffled.
int initialCellTexture(int x, int y);

// Texture numbers. Every number n names the first of four frames, n .. n + 3. Room g's tiles and item
// are 1000 (g + 1) + a tile kind, the outside strips' pictures 8000 + a kind, and avatar i's pictures
// 71000 + 1000 i + 100 S + 10 f + k. The game asks for them by these functions, the asset generator
// reads them back with nameOfTexture and draws what they name.
enum TileKind {
    kTileFirstFloor = 10, // four floor variants: 10, 20, 30 and 40
    kTileLastFloor = 40,
    kTileTopWall = 50,
    kTileBottomWall = 60,
    kTileLeftWall = 70,
    kTileRightWall = 80,
    kTileTopLeftCorner = 90,
    kTileTopRightCorner = 100,
    kTileBottomLeftCorner = 110,
    kTileBottomRightCorner = 120,
    kTileDoor = 130,
    kTileButtonLeft = 140,
    kTileButtonRight = 150,
    kTileButtonUp = 160,
    kTileButtonDown = 170,
    kTileButtonAct = 180,
    kTileItem = 190,
};
// The outside strips: seven decorations, 10 to 70, and the plain backdrop, 90.
constexpr int kOutsideFirstDecoration = 10;
constexpr int kOutsideLastDecoration = 70;
constexpr int kOutsideBackdrop = 90;

constexpr int roomTextureNumber(int room, int kind) {
    return 1000 * (room + 1) + kind;
}
constexpr int outsideTextureNumber(int kind) {
    return 8000 + kind;
}
// Room g's item: 1000 g + 1190.
constexpr int itemTextureNumber(int room) {
    return roomTextureNumber(room, kTileItem);
}
// Avatar `index` for facing f (0 left, 1 right, 2 up, 3 down), picture set S (0 idle and glance, 1 step,
// 2 act) and frame k.
constexpr int avatarTextureNumber(int index, int facing, int pictureSet, int frame) {
    return 71000 + 1000 * index + 100 * pictureSet + 10 * facing + frame;
}

// What a texture number names, read back from the number.
struct TextureName {
    enum Family { kNothing, kRoomTile, kOutside, kAvatar };
    Family family = kNothing;
    int owner = 0;      // room tiles: the room; avatars: the avatar's index
    int kind = 0;       // room tiles: a TileKind; outside: 10 .. 90
    int facing = 0;     // avatars
    int pictureSet = 0; // avatars
    int frame = 0;      // 0 .. 3
};
constexpr TextureName nameOfTexture(int number) {
    TextureName name;
    name.frame = number % 10;
    if (number < 0 || name.frame >= kFramesPerTexture) {
        return name;
    }
    const int run = number - name.frame;
    if (run >= avatarTextureNumber(0, 0, 0, 0) && run < avatarTextureNumber(kAvatarCount, 0, 0, 0)) {
        const int rest = run % 1000;
        name.owner = (run - avatarTextureNumber(0, 0, 0, 0)) / 1000;
        name.pictureSet = rest / 100;
        name.facing = rest / 10 % 10;
        if (name.pictureSet <= 2 && name.facing <= 3) {
            name.family = TextureName::kAvatar;
        }
    } else if (run >= outsideTextureNumber(0) && run < outsideTextureNumber(100)) {
        name.kind = run - outsideTextureNumber(0);
        if ((name.kind >= kOutsideFirstDecoration && name.kind <= kOutsideLastDecoration) ||
            name.kind == kOutsideBackdrop) {
            name.family = TextureName::kOutside;
        }
    } else if (run >= roomTextureNumber(0, 0) && run < roomTextureNumber(kRoomCount, 0)) {
        name.owner = run / 1000 - 1;
        name.kind = run % 1000;
        if (name.kind >= kTileFirstFloor && name.kind <= kTileItem) {
            name.family = TextureName::kRoomTile;
        }
    }
    return name;
}

constexpr int kMusicTrackCount = 10; // tracks 0 to 9

// The picture the window manager shows for the game's window: the desktop icon's design, square.
constexpr int kWindowIconNumber = 90000;
constexpr int kWindowIconSize = 64;

// Every texture number the game asks for, ascending, each once.
std::vector<int> allTextureNumbers();
