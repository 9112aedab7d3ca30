#include <gtest/gtest.h>

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
    EXPECT_EQ(numbers.back(), avatarTextureNumber(4, 3, 2, 3));
}
