// Whole games, played from the dark start to the printed page through the keyboard alone.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/services.h"
#include "game/avatar.h"
#include "game/desktop_files.h"
#include "game/world.h"
#include "resources/resource_access.h"
#include "tests/game/game_fixture.h"
#include "tests/game/scripted_player.h"

namespace {
const float kFrame = 1.0f / 60.0f;
// Far more than any game needs; a plan that stalls fails instead of hanging.
const int kFrameLimit = 60 * 60 * 180;

bool avatarZeroHasLeft(const World& world) {
    for (const Avatar* avatar : world.avatars) {
        if (avatar->index == 0) {
            return avatar->exited;
        }
    }
    return false;
}
} // namespace

class WinningGame : public GameFixture {};

TEST_F(WinningGame, EveryShuffleCanBeWonFromTheDarkStartToThePrintedPage) {
    const std::string printFile = desktop() + "/print_me.html";
    const std::vector<int> expectedTracks = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0};
    long totalFrames = 0;
    long totalPresses = 0;
    int longestFrames = 0;
    for (unsigned seed = 1; seed <= 20; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        World& world = newWorld(seed);
        EXPECT_EQ(world.level, 0.0f);
        EXPECT_EQ(currentMusicNumber(), -1) << "no music before the first input";

        ScriptedPlayer player;
        std::vector<int> tracks;
        int frames = 0;
        while (!avatarZeroHasLeft(world) && frames < kFrameLimit) {
            player.playFrame(world, kFrame);
            ++frames;
            if (currentMusicNumber() != (tracks.empty() ? -1 : tracks.back())) {
                tracks.push_back(currentMusicNumber());
            }
            // Nothing is written before the player's own avatar leaves.
            if (!avatarZeroHasLeft(world)) {
                ASSERT_FALSE(std::filesystem::exists(printFile)) << "frame " << frames;
                ASSERT_FALSE(std::filesystem::exists(markerFileName)) << "frame " << frames;
            }
        }
        ASSERT_TRUE(avatarZeroHasLeft(world)) << "the game was not won within the frame limit";
        EXPECT_EQ(tracks, expectedTracks);
        for (int room = 0; room < kRoomCount; ++room) {
            EXPECT_TRUE(world.doorOpen[room]) << room;
            EXPECT_GT(world.exitTime[room], 0.0f) << room;
        }

        const std::vector<uint8_t> page = readWholeFile(printFile);
        const std::string expected = printPageText();
        ASSERT_EQ(page.size(), expected.size() + 1);
        EXPECT_EQ(std::string(page.begin(), page.end() - 1), expected);
        EXPECT_EQ(page.back(), 0);
        const std::vector<uint8_t> marker = readWholeFile(markerFileName);
        EXPECT_EQ(marker, (std::vector<uint8_t>{'.', '.', '.', 0}));

        // The next start finds the marker, removes it and shows the dark, finished field.
        deleteWorld();
        World& finished = newWorld(seed + 1000);
        EXPECT_FALSE(std::filesystem::exists(markerFileName));
        EXPECT_TRUE(finished.avatars.empty());
        EXPECT_EQ(finished.level, 0.0f);
        EXPECT_EQ(currentMusicNumber(), 0);
        deleteWorld();
        resetMusicSelection();
        std::filesystem::remove(printFile);

        totalFrames += frames;
        totalPresses += player.keyPresses();
        longestFrames = std::max(longestFrames, frames);
        std::printf("[ game     ] seed %2u won after %7.1f s of play and %5d key presses\n", seed,
                    frames * kFrame, player.keyPresses());
    }
    std::printf("[ game     ] 20 games: mean %.1f s and %ld key presses, longest %.1f s\n",
                totalFrames * kFrame / 20.0, totalPresses / 20, longestFrames * kFrame);
}
