// The World's rules: entering cells, acting on them, the spawn schedule, culling, reveal followers,
// the tint drift, cell animations and the set-up's random choices.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <set>

#include "app/services.h"
#include "game/avatar.h"
#include "game/crawler.h"
#include "game/world.h"
#include "input/actions.h"
#include "input/key_state.h"
#include "resources/resource_access.h"
#include "tests/game/game_fixture.h"

namespace {
void removeCrawlers(World& world) {
    for (Crawler* crawler : world.crawlers) {
        delete crawler;
    }
    world.crawlers.clear();
}
} // namespace

class WorldRules : public GameFixture {};

TEST_F(WorldRules, SetUpShufflesOnlyTheButtonsAndPlacesAvatarsWhereTheyMayStart) {
    std::set<std::vector<int>> orders;
    for (unsigned seed = 1; seed <= 40; ++seed) {
        World& world = newWorld(seed);
        EXPECT_EQ(world.musicClock, 9999.0f);
        for (int room = 0; room < kRoomCount; ++room) {
            const int row = 4 * room + 3;
            EXPECT_EQ(world.cellType[4][row], kCellDoor);
            EXPECT_EQ(world.cellType[3][row], kCellWall);
            EXPECT_EQ(world.cellType[10][row], kCellWall);
            std::vector<int> order;
            for (int x = 5; x <= 9; ++x) {
                order.push_back(world.cellType[x][row]);
            }
            orders.insert(order);
            EXPECT_EQ(std::set<int>(order.begin(), order.end()), (std::set<int>{4, 5, 6, 7, 8}));
            EXPECT_EQ(world.itemPresent[room], room == 4);
        }
        ASSERT_EQ(world.avatars.size(), 5u);
        int index = 0;
        for (const Avatar* avatar : world.avatars) {
            EXPECT_EQ(avatar->index, index++);
            EXPECT_EQ(avatar->controlled, avatar->index == 0);
            EXPECT_TRUE(world.canEnter(avatar->x, avatar->y)) << avatar->index;
            EXPECT_EQ(avatar->y >> 2, avatar->index);
            // Nobody in the leftmost column starts facing the wall.
            EXPECT_FALSE(avatar->x == 3 && avatar->facing == Avatar::kFacingLeft);
        }
        const Avatar& top = avatarOf(world, 4);
        EXPECT_EQ(top.y, 18);
        EXPECT_GE(top.x, 3);
        EXPECT_LE(top.x, 6);
        EXPECT_EQ(avatarOf(world, 1).y, 5);
        EXPECT_EQ(avatarOf(world, 3).facing, Avatar::kFacingDown);
    }
    EXPECT_GT(orders.size(), 50u) << "every room gets its own order";
}

// Over 400 games (2000 shuffled rows) each count of a button in a column lies within six standard
// deviations of a fifth of the rows: a fair shuffle strays that far with a chance below 1e-8 for all
// 25 counts together, while a shuffle of too few swaps leaves buttons where they started far more often.
TEST_F(WorldRules, TheShuffleSendsEveryButtonToEveryColumnAboutAFifthOfTheTime) {
    const int kGames = 400;
    const int kButtons = kLastButtonColumn - kFirstButtonColumn + 1;
    int counts[kButtons][kButtons] = {}; // by button, then column
    for (unsigned seed = 1; seed <= kGames; ++seed) {
        World& world = newWorld(seed);
        for (int room = 0; room < kRoomCount; ++room) {
            for (int x = kFirstButtonColumn; x <= kLastButtonColumn; ++x) {
                counts[world.cellType[x][topWallRow(room)] - kCellButtonUp][x - kFirstButtonColumn] += 1;
            }
        }
    }
    const double rows = kGames * kRoomCount;
    const double p = 1.0 / kButtons;
    const double spread = 6.0 * std::sqrt(rows * p * (1.0 - p));
    for (int button = 0; button < kButtons; ++button) {
        for (int column = 0; column < kButtons; ++column) {
            EXPECT_NEAR(counts[button][column], rows * p, spread)
                << "button type " << button + kCellButtonUp << " in column " << column + kFirstButtonColumn;
        }
    }
}

TEST_F(WorldRules, CanEnterRefusesTheGridEdgesTheLyingItemAndClosedDoors) {
    World& world = newWorld(7);
    EXPECT_FALSE(world.canEnter(-1, 5));
    EXPECT_FALSE(world.canEnter(14, 5));
    EXPECT_FALSE(world.canEnter(5, -1));
    EXPECT_FALSE(world.canEnter(4, 20));
    EXPECT_FALSE(world.canEnter(4, 21));
    EXPECT_TRUE(world.canEnter(5, 17));
    EXPECT_FALSE(world.canEnter(2, 17)); // wall
    EXPECT_FALSE(world.canEnter(7, 19)); // button
    EXPECT_TRUE(world.canEnter(0, 19));  // an outside decoration is floor too

    // Room 4's item blocks its spot until the take-away animation has begun.
    EXPECT_FALSE(world.canEnter(10, 17));
    world.triggerCell(10, 17, 10, 18);
    EXPECT_TRUE(world.itemTaken[4]);
    EXPECT_FALSE(world.itemTakenFromSide[4]);
    EXPECT_FALSE(world.canEnter(10, 17)) << "taken, but not yet moving";
    world.update(1.0f / 60.0f);
    EXPECT_GT(world.itemAnim[4], 0.0f);
    EXPECT_TRUE(world.canEnter(10, 17));
    // Room 3 has no item yet: its spot is plain floor.
    EXPECT_TRUE(world.canEnter(10, 13));

    // A door opens only for an act after the item is taken, and then for good.
    EXPECT_FALSE(world.canEnter(4, 15));
    world.triggerCell(4, 15, 4, 14);
    EXPECT_FALSE(world.doorOpen[3]);
    world.triggerCell(4, 19, 4, 18);
    EXPECT_TRUE(world.doorOpen[4]);
    EXPECT_TRUE(world.canEnter(4, 19));
    world.triggerCell(4, 19, 4, 18);
    EXPECT_TRUE(world.doorOpen[4]);

    // Taking from beside slides the item sideways; row 20 and cells off the grid are ignored.
    world.avatarLeft(2);
    world.triggerCell(10, 9, 9, 9);
    EXPECT_TRUE(world.itemTakenFromSide[2]);
    world.triggerCell(4, 20, 4, 19);
    world.triggerCell(-3, 99, 0, 0);
    EXPECT_FALSE(world.canEnter(4, 20));
}

TEST_F(WorldRules, ButtonsSteerTheRoomAboveRevealItAndStopRevealingOnceTheTopDoorIsOpen) {
    World& world = newWorld(3);
    world.update(1.0f / 60.0f);
    Avatar& second = avatarOf(world, 1);
    second.x = 6;
    second.y = 5;
    const int right = buttonColumn(world, 0, kCellButtonRight);
    world.triggerCell(right, 3, right, 2);
    EXPECT_EQ(second.x, 7);
    EXPECT_EQ(second.facing, Avatar::kFacingRight);
    EXPECT_EQ(second.animState, Avatar::kStep);
    EXPECT_EQ(world.cellFrame[right][3], 1);
    EXPECT_EQ(world.cellRate[right][3], 12.0f);
    EXPECT_EQ(world.level, 2.0f);
    EXPECT_EQ(currentMusicNumber(), 2);
    // A second press during the step is lost, not queued.
    world.triggerCell(right, 3, right, 2);
    EXPECT_EQ(second.x, 7);

    // Room 4's buttons steer nobody and reveal nothing.
    const int act = buttonColumn(world, 4, kCellButtonAct);
    world.triggerCell(act, 19, act, 18);
    EXPECT_EQ(world.cellFrame[act][19], 1);
    EXPECT_EQ(world.level, 2.0f);
    EXPECT_EQ(currentMusicNumber(), 2);

    // Acting on a wall reveals the room above just as a button does, but presses nothing.
    world.triggerCell(2, 5, 3, 5);
    EXPECT_EQ(world.level, 3.0f);
    EXPECT_EQ(currentMusicNumber(), 3);
    EXPECT_EQ(world.cellFrame[2][5], 0);

    world.triggerCell(buttonColumn(world, 2, kCellButtonUp), 11, 0, 10);
    EXPECT_EQ(world.level, 4.0f);
    EXPECT_EQ(currentMusicNumber(), 4);
    world.doorOpen[4] = true;
    world.triggerCell(buttonColumn(world, 3, kCellButtonUp), 15, 0, 14);
    EXPECT_EQ(world.level, 4.0f) << "the darkening cannot be undone";
}

// The room above comes to light whatever an avatar acts on: floor, wall, item spot or door alike, and
// only ever upwards.
TEST_F(WorldRules, ActingOnAnyCellOfARoomRevealsTheRoomAbove) {
    const struct {
        int x, y, ax, ay;
        const char* what;
    } cells[] = {{5, 13, 5, 14, "floor"},
                 {11, 14, 10, 14, "side wall"},
                 {6, 12, 6, 13, "bottom wall"},
                 {10, 13, 9, 13, "empty item spot"},
                 {4, 15, 4, 14, "closed door"}};
    for (const auto& cell : cells) {
        SCOPED_TRACE(cell.what);
        World& world = newWorld(11);
        world.level = 1.0f;
        Avatar& above = avatarOf(world, 4);
        const int x = above.x;
        const int y = above.y;
        world.triggerCell(cell.x, cell.y, cell.ax, cell.ay);
        EXPECT_EQ(world.level, 5.0f);
        EXPECT_EQ(currentMusicNumber(), 5);
        EXPECT_EQ(above.x, x) << "only a button steers";
        EXPECT_EQ(above.y, y);
        EXPECT_EQ(above.animState, Avatar::kIdle);
        EXPECT_FALSE(world.doorOpen[3]);
    }

    // A lower room never takes the light back, and the top room has no room above it.
    World& world = newWorld(12);
    world.level = 4.0f;
    world.triggerCell(5, 1, 5, 2);
    EXPECT_EQ(world.level, 4.0f);
    world.triggerCell(3, 16, 3, 17);
    world.triggerCell(10, 17, 10, 18);
    EXPECT_EQ(world.level, 4.0f);
    EXPECT_TRUE(world.itemTaken[4]) << "the top room's item spot still works";
}

// What an avatar tells its world, and what the World makes of it: the first input lights room 0 with
// track 1 and later inputs change nothing; a leaving avatar starts its room's swarm and drops the
// music to its layer; numbers no avatar has change nothing at all.
TEST_F(WorldRules, PlayerInputAndLeavingAvatarsDriveLevelsSwarmsAndMusic) {
    World& world = newWorld(5);
    world.noticePlayerInput();
    EXPECT_EQ(world.level, 1.0f);
    EXPECT_EQ(currentMusicNumber(), 1);
    world.level = 3.0f;
    selectMusic(3);
    world.noticePlayerInput();
    EXPECT_EQ(world.level, 3.0f);
    EXPECT_EQ(currentMusicNumber(), 3);

    world.avatarLeft(3); // avatar 4
    EXPECT_TRUE(world.itemPresent[3]);
    EXPECT_EQ(world.exitTime[4], 0.01f);
    EXPECT_EQ(world.exitTime[3], 0.0f);
    EXPECT_EQ(currentMusicNumber(), 6);
    world.avatarLeft(0); // avatar 1
    EXPECT_EQ(world.exitTime[1], 0.01f);
    EXPECT_EQ(currentMusicNumber(), 9);

    float before[kRoomCount];
    std::copy(std::begin(world.exitTime), std::end(world.exitTime), before);
    for (int p : {4, 5, -2, 99}) {
        world.avatarLeft(p);
    }
    EXPECT_TRUE(std::equal(std::begin(before), std::end(before), std::begin(world.exitTime)));
    EXPECT_EQ(currentMusicNumber(), 9);
}

TEST_F(WorldRules, TheMusicClockRestartsOnTheFirstUpdateAndEveryLoop) {
    World& world = newWorld(1);
    world.update(0.01f);
    EXPECT_EQ(world.musicClock, 0.0f);
    run(60, 0.1f);
    EXPECT_NEAR(world.musicClock, 6.0f, 1e-3f);
    run(153, 0.1f);
    EXPECT_NEAR(world.musicClock, 21.3f, 1e-3f);
    world.update(0.1f);
    EXPECT_EQ(world.musicClock, 0.0f);
}

TEST_F(WorldRules, RoomsRevealQuicklyAndDarkenSlowlyWhileTheOutsideDoesTheOpposite) {
    World& world = newWorld(1);
    world.level = 2.0f;
    world.update(0.1f);
    EXPECT_FLOAT_EQ(world.roomReveal, 0.2f);
    EXPECT_FLOAT_EQ(world.outsideReveal, 0.1f / 15.0f);
    run(20, 0.1f);
    EXPECT_EQ(world.roomReveal, 2.0f) << "stops exactly on the level";
    world.outsideReveal = 2.0f;
    world.level = 1.0f;
    world.update(0.1f);
    EXPECT_FLOAT_EQ(world.roomReveal, 2.0f - 0.1f / 15.0f);
    EXPECT_FLOAT_EQ(world.outsideReveal, 1.8f);
    world.level = 7.0f;
    world.roomReveal = 6.0f;
    world.update(0.0f);
    EXPECT_EQ(world.level, 5.0f);
    EXPECT_EQ(world.roomReveal, 5.0f);
}

TEST_F(WorldRules, ASwarmStartsWithOneCrawlerAtT1ThenGrowsFromT2UntilItsCapPullsTheLevelDown) {
    World& world = newWorld(5);
    world.avatars.front()->exited = true; // keep avatar 0 from glancing: only the swarm draws randoms
    const float dt = 1.0f / 60.0f;
    world.level = 5.0f;
    world.roomReveal = 5.0f;
    // Room 1: T1 = 6 s, T2 = 13 s.
    world.exitTime[1] = 0.01f;
    float previous = world.exitTime[1];
    int crawlersAtT1 = -1;
    while (world.exitTime[1] < 13.0f - dt) {
        world.update(dt);
        const float now = world.exitTime[1];
        if (previous < 6.0f && 6.0f <= now) {
            crawlersAtT1 = world.crawlerCount[1];
        } else if (now < 6.0f) {
            ASSERT_EQ(world.crawlerCount[1], 0) << now;
        } else {
            ASSERT_EQ(world.crawlerCount[1], 1) << now;
        }
        previous = now;
    }
    EXPECT_EQ(crawlersAtT1, 1);
    ASSERT_EQ(world.crawlers.size(), 1u);
    const Crawler& first = *world.crawlers.front();
    EXPECT_EQ(first.homeX, 4.0f);
    EXPECT_EQ(first.homeY, 7.0f);
    EXPECT_EQ(first.wanderDelay, 9999.0f);

    run(60 * 60);
    EXPECT_GT(world.crawlerCount[1], 40);
    EXPECT_EQ(world.crawlers.front()->wanderDelay, 0.0f) << "later crawlers roam";
    int homebodies = 0;
    for (const Crawler* crawler : world.crawlers) {
        homebodies += crawler->wanderDelay == 9999.0f;
    }
    EXPECT_EQ(homebodies, 31);

    // At 1,100 the room stops spawning and keeps the level at its own number.
    world.crawlerCount[1] = 1100;
    const size_t alive = world.crawlers.size();
    world.update(dt);
    EXPECT_EQ(world.level, 1.0f);
    EXPECT_EQ(world.crawlers.size(), alive);
    world.level = 3.0f;
    world.update(dt);
    EXPECT_EQ(world.level, 1.0f);
    EXPECT_EQ(world.crawlerCount[1], 1100);
}

TEST_F(WorldRules, CrawlersAreCulledOnlyOnceTheDarkeningHasSettled) {
    World& world = newWorld(2);
    world.avatars.front()->exited = true;
    world.level = 2.0f;
    world.roomReveal = 2.5f;
    world.outsideReveal = 2.0f;
    world.crawlers.push_front(new Crawler(9999.0f, 4.0f, 11.0f)); // starts at y = 11.5
    world.crawlers.push_front(new Crawler(9999.0f, 4.0f, 3.0f));
    world.update(1.0f / 60.0f);
    EXPECT_EQ(world.crawlers.size(), 2u) << "roomReveal is still falling";
    world.roomReveal = 2.0f;
    world.update(1.0f / 60.0f);
    ASSERT_EQ(world.crawlers.size(), 1u);
    EXPECT_EQ(world.crawlers.front()->homeY, 3.0f);
    removeCrawlers(world);
}

TEST_F(WorldRules, TheTintDriftsAtHalfAUnitPerSecondAndPicksANewTargetOnlyAfterArriving) {
    World& world = newWorld(11);
    world.avatars.front()->exited = true;
    world.update(0.0f);
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(world.tintCurrent[c], 1.0f);
        EXPECT_GE(world.tintTarget[c], 0.3f);
        EXPECT_LT(world.tintTarget[c], 1.0f);
    }
    world.tintTarget[0] = 0.9f;
    world.tintTarget[1] = 1.0f;
    world.tintTarget[2] = 0.5f;
    world.update(0.1f);
    EXPECT_FLOAT_EQ(world.tintCurrent[0], 0.95f);
    EXPECT_EQ(world.tintCurrent[1], 1.0f);
    EXPECT_FLOAT_EQ(world.tintCurrent[2], 0.95f);
    world.update(0.5f);
    EXPECT_EQ(world.tintCurrent[0], 0.9f) << "stops exactly on the target";
    EXPECT_FLOAT_EQ(world.tintCurrent[2], 0.7f);
    world.update(0.5f);
    EXPECT_EQ(world.tintCurrent[2], 0.5f);
    EXPECT_EQ(world.tintTarget[2], 0.5f) << "arrived in this frame: the target stays";
    world.update(0.1f);
    EXPECT_NE(world.tintTarget[2], 0.5f) << "all settled before the frame: a new target";
    EXPECT_EQ(world.tintCurrent[2], 0.5f);
}

TEST_F(WorldRules, CellsAnimateButtonsRunTheirFramesAndOpenDoorsStayOpen) {
    World& world = newWorld(4);
    world.avatars.front()->exited = true;
    const float dt = 1.0f / 60.0f;
    // The decoration at (1, 7) never rests.
    for (int i = 0; i < 60; ++i) {
        world.update(dt);
    }
    EXPECT_EQ(world.cellRate[1][7], 2.0f);
    EXPECT_NE(world.cellFrame[1][7], 0);

    const int act = buttonColumn(world, 4, kCellButtonAct);
    world.triggerCell(act, 19, act, 18);
    std::vector<int> frames;
    for (int i = 0; i < 30; ++i) {
        world.update(dt);
        if (frames.empty() || frames.back() != world.cellFrame[act][19]) {
            frames.push_back(world.cellFrame[act][19]);
        }
    }
    EXPECT_EQ(frames, (std::vector<int>{1, 2, 3, 0}));

    world.doorOpen[2] = true;
    for (int i = 0; i < 120; ++i) {
        world.update(dt);
    }
    EXPECT_EQ(world.cellFrame[4][11], 3);
    EXPECT_EQ(world.cellFrame[4][7], 0) << "a closed door rests";
}

TEST_F(WorldRules, AFinishedGameStartsDarkWithoutAvatarsAndIgnoresInput) {
    writeWholeFile(path("delete_me.html"), {'x'});
    World& world = newWorld(1);
    EXPECT_TRUE(world.avatars.empty());
    EXPECT_EQ(currentMusicNumber(), 0);
    EXPECT_TRUE(readWholeFile(path("delete_me.html")).empty());
    theKeyState->press(kKeyW);
    run(30);
    world.triggerCell(5, 1, 5, 2);
    EXPECT_EQ(world.level, 0.0f) << "no avatar is left to act";
    EXPECT_EQ(currentMusicNumber(), 0);
    // The following start is an ordinary new game.
    World& next = newWorld(2);
    EXPECT_EQ(next.avatars.size(), 5u);
}
