// The play field's fixed data: the initial cell types and texture numbers of the 14 x 21 grid, the
// texture numbers of items and avatars, and the music tracks. The grids are laid out as they read on
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

// First of the four frame textures of room g's item.
inline int itemTextureNumber(int room) {
    return 1000 * room + 1190;
}

// Texture of avatar `index` for facing f (0 left, 1 right, 2 up, 3 down), picture set S (0 idle and
// glance, 1 step, 2 act) and frame k.
inline int avatarTextureNumber(int index, int facing, int pictureSet, int frame) {
    return 71000 + 1000 * index + 10 * facing + 100 * pictureSet + frame;
}

constexpr int kMusicTrackCount = 10; // tracks 0 to 9

// The picture the window manager shows for the game's window: the desktop icon's design, square.
constexpr int kWindowIconNumber = 90000;
constexpr int kWindowIconSize = 64;

// Every texture number the game asks for, ascending, each once.
std::vector<int> allTextureNumbers();
