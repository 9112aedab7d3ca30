// The grid tables, as they read on screen.
#include "game/world_tables.h"

#include <algorithm>

namespace {
// clang-format off
constexpr int kCellTypes[kGridHeight][kGridWidth] = {
    /* 20 */ {0, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    /* 19 */ {1, 0, 2, 2, 3, 6, 7, 4, 5, 8, 2, 2, 1, 0},
    /* 18 */ {0, 0, 2, 1, 1, 1, 1, 1, 1, 1, 1, 2, 0, 0},
    /* 17 */ {0, 0, 2, 1, 1, 1, 1, 1, 1, 1, 1, 2, 0, 0},
    /* 16 */ {0, 0, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 0, 0},
    /* 15 */ {0, 1, 2, 2, 3, 6, 7, 4, 5, 8, 2, 2, 0, 0},
    /* 14 */ {0, 0, 2, 1, 1, 1, 1, 1, 1, 1, 1, 2, 1, 0},
    /* 13 */ {1, 0, 2, 1, 1, 1, 1, 1, 1, 1, 1, 2, 0, 0},
    /* 12 */ {0, 0, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 0, 0},
    /* 11 */ {0, 1, 2, 2, 3, 6, 7, 4, 5, 8, 2, 2, 1, 1},
    /* 10 */ {0, 0, 2, 1, 1, 1, 1, 1, 1, 1, 1, 2, 1, 1},
    /*  9 */ {0, 0, 2, 1, 1, 1, 1, 1, 1, 1, 1, 2, 0, 1},
    /*  8 */ {0, 0, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 1, 0},
    /*  7 */ {0, 1, 2, 2, 3, 6, 7, 4, 5, 8, 2, 2, 0, 0},
    /*  6 */ {1, 0, 2, 1, 1, 1, 1, 1, 1, 1, 1, 2, 0, 0},
    /*  5 */ {0, 0, 2, 1, 1, 1, 1, 1, 1, 1, 1, 2, 0, 0},
    /*  4 */ {0, 0, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 0, 0},
    /*  3 */ {0, 0, 2, 2, 3, 6, 7, 4, 5, 8, 2, 2, 0, 1},
    /*  2 */ {0, 0, 2, 1, 1, 1, 1, 1, 1, 1, 1, 2, 0, 0},
    /*  1 */ {0, 1, 2, 1, 1, 1, 1, 1, 1, 1, 1, 2, 0, 0},
    /*  0 */ {0, 0, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 0, 0},
};

// Room g uses 1000 (g + 1) + 10..180: 10-40 floor variants, 50 top wall, 60 bottom wall, 70 left wall,
// 80 right wall, 90-120 corners, 130 door, 140-180 the five buttons. The outside strips use 8010-8070
// for decorations and 8090 for the plain backdrop. Each cell's picture must show the type the table
// above gives it: the check below the tables holds them to that.
constexpr int kCellTextures[kGridHeight][kGridWidth] = {
    /* 20 */ {8090, 8090, 8090, 8090, 8090, 8090, 8090, 8090, 8090, 8090, 8090, 8090, 8090, 8090},
    /* 19 */ {8010, 8090, 5090, 5050, 5130, 5140, 5150, 5160, 5170, 5180, 5050, 5100, 8020, 8090},
    /* 18 */ {8090, 8090, 5070, 5030, 5010, 5020, 5020, 5010, 5010, 5020, 5030, 5080, 8090, 8090},
    /* 17 */ {8090, 8090, 5070, 5030, 5020, 5010, 5010, 5020, 5020, 5010, 5030, 5080, 8090, 8090},
    /* 16 */ {8090, 8090, 5110, 5060, 5060, 5060, 5060, 5060, 5060, 5060, 5060, 5120, 8090, 8090},
    /* 15 */ {8090, 8020, 4090, 4050, 4130, 4140, 4150, 4160, 4170, 4180, 4050, 4100, 8090, 8090},
    /* 14 */ {8090, 8090, 4070, 4020, 4010, 4010, 4010, 4010, 4010, 4010, 4010, 4080, 8010, 8090},
    /* 13 */ {8020, 8090, 4070, 4030, 4040, 4040, 4040, 4040, 4040, 4040, 4040, 4080, 8090, 8090},
    /* 12 */ {8090, 8090, 4110, 4060, 4060, 4060, 4060, 4060, 4060, 4060, 4060, 4120, 8090, 8090},
    /* 11 */ {8090, 8010, 3090, 3050, 3130, 3140, 3150, 3160, 3170, 3180, 3050, 3100, 8040, 8050},
    /* 10 */ {8090, 8090, 3070, 3010, 3010, 3010, 3010, 3010, 3010, 3010, 3010, 3080, 8060, 8070},
    /*  9 */ {8090, 8090, 3070, 3010, 3020, 3010, 3010, 3010, 3010, 3010, 3010, 3080, 8090, 8020},
    /*  8 */ {8090, 8090, 3110, 3060, 3030, 3060, 3060, 3060, 3060, 3060, 3060, 3120, 8010, 8090},
    /*  7 */ {8090, 8030, 2090, 2050, 2130, 2140, 2150, 2160, 2170, 2180, 2050, 2100, 8090, 8090},
    /*  6 */ {8010, 8090, 2070, 2010, 2010, 2010, 2030, 2010, 2010, 2010, 2010, 2080, 8090, 8090},
    /*  5 */ {8090, 8090, 2070, 2020, 2010, 2010, 2020, 2010, 2010, 2030, 2010, 2080, 8090, 8090},
    /*  4 */ {8090, 8090, 2110, 2060, 2060, 2060, 2060, 2060, 2060, 2060, 2060, 2120, 8090, 8090},
    /*  3 */ {8090, 8090, 1090, 1050, 1130, 1140, 1150, 1160, 1170, 1180, 1050, 1100, 8090, 8010},
    /*  2 */ {8090, 8090, 1070, 1030, 1010, 1010, 1010, 1010, 1010, 1030, 1020, 1080, 8090, 8090},
    /*  1 */ {8090, 8010, 1070, 1020, 1010, 1010, 1010, 1010, 1030, 1010, 1010, 1080, 8090, 8090},
    /*  0 */ {8090, 8090, 1110, 1060, 1060, 1060, 1060, 1060, 1060, 1060, 1060, 1120, 8090, 8090},
};
// clang-format on

// The cell type a picture shows: floor (inside, or an outside decoration, which is floor too), wall,
// the door, each button its own command, or the plain backdrop.
constexpr int cellTypeShownBy(const TextureName& name) {
    if (name.family == TextureName::kOutside) {
        return name.kind == kOutsideBackdrop ? kCellBackdrop : kCellFloor;
    }
    switch (name.kind) {
    case kTileButtonUp:
        return kCellButtonUp;
    case kTileButtonDown:
        return kCellButtonDown;
    case kTileButtonLeft:
        return kCellButtonLeft;
    case kTileButtonRight:
        return kCellButtonRight;
    case kTileButtonAct:
        return kCellButtonAct;
    case kTileDoor:
        return kCellDoor;
    default:
        return name.kind <= kTileLastFloor ? kCellFloor : kCellWall;
    }
}

// Two walls above doors wear other pictures: the one above room 1's door a floor tile, the one above
// room 4's door the night outside.
constexpr bool disguisedWall(int x, int y) {
    return x == kDoorColumn && (y == topWallRow(1) + 1 || y == kGridHeight - 1);
}

// The tables agree where every cell shows its own type and the rooms (inside the side walls, below the
// top row) show their own room's tiles, everything else the outside's pictures. The first cell where
// they do not, as y * kGridWidth + x, or -1.
constexpr int firstCellTheTablesDisagreeOn() {
    for (int row = 0; row < kGridHeight; ++row) {
        const int y = kGridHeight - 1 - row;
        for (int x = 0; x < kGridWidth; ++x) {
            const int type = kCellTypes[row][x];
            const TextureName name = nameOfTexture(kCellTextures[row][x]);
            const bool inRoom = x >= 2 && x <= 11 && y < kGridHeight - 1;
            const bool ownPictures =
                inRoom ? name.family == TextureName::kRoomTile && name.owner == y / kRowsPerRoom
                       : name.family == TextureName::kOutside;
            const bool showsType = disguisedWall(x, y) ? type == kCellWall : cellTypeShownBy(name) == type;
            if (!ownPictures || !showsType || name.frame != 0) {
                return y * kGridWidth + x;
            }
        }
    }
    return -1;
}
static_assert(firstCellTheTablesDisagreeOn() == -1, "a cell's picture does not show the cell's type");
} // namespace

int initialCellType(int x, int y) {
    return kCellTypes[kGridHeight - 1 - y][x];
}

int initialCellTexture(int x, int y) {
    return kCellTextures[kGridHeight - 1 - y][x];
}

std::vector<int> allTextureNumbers() {
    std::vector<int> numbers;
    auto addRun = [&numbers](int first) {
        for (int k = 0; k < kFramesPerTexture; ++k) {
            numbers.push_back(first + k);
        }
    };
    for (int y = 0; y < kGridHeight; ++y) {
        for (int x = 0; x < kGridWidth; ++x) {
            addRun(initialCellTexture(x, y));
        }
    }
    for (int room = 0; room < kRoomCount; ++room) {
        addRun(itemTextureNumber(room));
    }
    for (int index = 0; index < kAvatarCount; ++index) {
        for (int facing = 0; facing < 4; ++facing) {
            for (int pictureSet = 0; pictureSet < 3; ++pictureSet) {
                addRun(avatarTextureNumber(index, facing, pictureSet, 0));
            }
        }
    }
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    return numbers;
}
