#include <gtest/gtest.h>

#include <cstdlib>

#include "game/world_tables.h"

TEST(WorldTables, RoomsHaveTheirDoorButtonsAndItemSpotWhereTheGameExpects) {
    for (int room = 0; room < kRoomCount; ++room) {
        const int top = 4 * room + 3;
        EXPECT_EQ(initialCellType(4, top), kCellDoor) << room;
        for (int x = 5; x <= 9; ++x) {
            EXPECT_GE(initialCellType(x, top), kCellButtonUp) << room;
            EXPECT_LE(initialCellType(x, top), kCellButtonAct) << room;
        }
        EXPECT_EQ(initialCellType(10, 4 * room + 1), kCellFloor) << room;
        EXPECT_EQ(initialCellTexture(4, top), 1000 * (room + 1) + 130) << room;
        EXPECT_EQ(initialCellType(2, 4 * room + 1), kCellWall) << room;
        EXPECT_EQ(initialCellType(11, 4 * room + 2), kCellWall) << room;
    }
    // The top row reads left to right as on screen: only x = 4 is wall.
    EXPECT_EQ(initialCellType(4, 20), kCellWall);
    EXPECT_EQ(initialCellType(3, 20), kCellBackdrop);
    EXPECT_EQ(initialCellTexture(13, 10), 8070);
    EXPECT_EQ(initialCellTexture(0, 19), 8010);
}

TEST(WorldTables, TheGameAsksForSixHundredThirtySixPictures) {
    const std::vector<int> numbers = allTextureNumbers();
    EXPECT_EQ(numbers.size(), 636u);
    EXPECT_EQ(numbers.front(), 1010);
    EXPECT_EQ(numbers.back(), 75233) << "avatar 4 acting, facing down, frame 3";
}

// The asset generator draws each picture from what its number reads back as: every number the game asks
// for must read back as what made it, and a number that names nothing as nothing.
TEST(WorldTables, TextureNumbersReadBackAsWhatMadeThem) {
    for (int number : allTextureNumbers()) {
        const TextureName name = nameOfTexture(number);
        int made = -1;
        if (name.family == TextureName::kAvatar) {
            made = avatarTextureNumber(name.owner, name.facing, name.pictureSet, name.frame);
        } else if (name.family == TextureName::kRoomTile) {
            made = roomTextureNumber(name.owner, name.kind) + name.frame;
        } else if (name.family == TextureName::kOutside) {
            made = outsideTextureNumber(name.kind) + name.frame;
        }
        EXPECT_EQ(made, number);
    }
    for (int nothing : {-10, 1004, 1200, 6010, 8000, 8080, 71400, 71040, 76000, 90000}) {
        EXPECT_EQ(nameOfTexture(nothing).family, TextureName::kNothing) << nothing;
    }
}

// The names the rules use for cells are the cells the grid holds: every door, button and item spot of
// the grid lies where its name says, and nothing else does.
TEST(WorldTables, NamedCellsAreTheOnesTheGridHolds) {
    for (int y = 0; y < kGridHeight; ++y) {
        for (int x = 0; x < kGridWidth; ++x) {
            const int type = initialCellType(x, y);
            EXPECT_EQ(isDoorCell(x, y), type == kCellDoor) << x << "," << y;
            if (type >= kCellButtonUp && type <= kCellButtonAct) {
                EXPECT_GE(x, kFirstButtonColumn) << y;
                EXPECT_LE(x, kLastButtonColumn) << y;
                EXPECT_EQ(y, topWallRow(y / kRowsPerRoom)) << x;
            }
        }
    }
    for (int room = 0; room < kRoomCount; ++room) {
        EXPECT_EQ(initialCellType(kItemColumn, itemRow(room)), kCellFloor) << room;
        EXPECT_EQ(initialCellType(kItemColumn + 1, itemRow(room)), kCellWall) << "bottom right: " << room;
        EXPECT_EQ(initialCellType(kItemColumn, itemRow(room) - 1), kCellWall) << room;
    }
}

TEST(WorldTables, StepsAreOneCellAndOffsetsSnapTowardsZeroAtEachRoomsCoarseness) {
    const int opposite[4] = {1, 0, 3, 2};
    for (int facing = 0; facing < 4; ++facing) {
        EXPECT_EQ(std::abs(kStepX[facing]) + std::abs(kStepY[facing]), 1) << facing;
        EXPECT_EQ(kStepX[facing] + kStepX[opposite[facing]], 0) << facing;
        EXPECT_EQ(kStepY[facing] + kStepY[opposite[facing]], 0) << facing;
    }
    EXPECT_EQ(kStepY[2], 1) << "up is y + 1";

    EXPECT_EQ(snapTowardsZero(0.99f, 0), 0.99f);
    EXPECT_EQ(snapTowardsZero(0.99f, 1), 15.0f / 16.0f);
    EXPECT_EQ(snapTowardsZero(-0.99f, 1), -15.0f / 16.0f);
    EXPECT_EQ(snapTowardsZero(0.99f, 2), 31.0f / 32.0f);
    EXPECT_EQ(snapTowardsZero(-0.3f, 3), -0.3f);
    EXPECT_EQ(snapTowardsZero(0.74f, 4), 0.5f);
    EXPECT_EQ(snapTowardsZero(-0.74f, 4), -0.5f);

    for (int room = 0; room < kRoomCount; ++room) {
        EXPECT_EQ(roomDrawnSmooth(room), room == 0 || room == 4) << room;
    }
}

TEST(WorldTables, AnUntouchedItemBlinksOffThriceAtTheStartOfEveryFourSeconds) {
    // The edges of the three dark spells (0-199, 401-599, 801-999 ms) and of the cycle.
    const struct {
        uint32_t ticks;
        bool off;
    } cases[] = {{0, true},     {199, true},  {200, false}, {400, false},  {401, true},
                 {599, true},   {600, false}, {801, true},  {999, true},   {1000, false},
                 {3999, false}, {4000, true}, {4401, true}, {4600, false}, {4294967295u, false}};
    for (const auto& c : cases) {
        EXPECT_EQ(itemBlinkedOff(c.ticks), c.off) << c.ticks << " ms";
    }
    // The lit share of a cycle: 4000 ms less three spells of 200, 199 and 199 ms.
    int lit = 0;
    for (uint32_t t = 0; t < 4000; ++t) {
        lit += itemBlinkedOff(t) ? 0 : 1;
    }
    EXPECT_EQ(lit, 4000 - 200 - 199 - 199);
}
