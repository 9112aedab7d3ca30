// The play field's fixed data: the initial cell types and texture numbers of the 14 x 21 grid, the
// texture numbers of items and avatars, and the music tracks. The grids are laid out as they read on
// screen, top row (y = 20) first.
#pragma once

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
