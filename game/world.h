// World: the whole game being played. Five rooms stacked in a 14 x 21 grid, one avatar in each, the
// shuffled buttons that steer the avatar of the room above, the items and doors of the way out, the
// swarms of crawlers that darken the field once the game is won, and the music clock all layers share.
//
// Cell (x, y) counts x = 0..13 from the left and y = 0..20 from the bottom; room g holds rows 4g..4g+3
// (row 20 belongs to room 4). The fields are public: the avatars and crawlers read and change them
// through theWorld, and tests and replays read them to plan.
#pragma once

#include <cstdint>
#include <list>

#include "game/crawler_batch.h"
#include "game/field_layer.h"
#include "game/world_tables.h"

class Avatar;
class Crawler;
class Texture;

class World {
public:
    // Set-up: loads every texture, lays out the grid, shuffles the buttons, places the avatars and
    // looks for the marker of a finished game (which starts the dark, empty field instead).
    World();
    // Teardown: gives back every texture, destroys avatars and crawlers and silences the music.
    ~World();
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    // Advances music clock, reveal levels, items, crawler spawning, tint, cell animations, avatars and
    // crawlers by dt seconds.
    void update(float dt);
    // Draws the play field in the 2D set-up the play screen leaves active.
    void draw();

    // What the avatars ask and tell their world; the World alone decides what it means for levels,
    // swarms and music.

    // May an avatar step into (x, y)?
    bool canEnter(int x, int y) const;
    // An avatar standing on (ax, ay) acts on the neighbouring cell (x, y): a button steers the avatar of
    // the room above, the item spot takes the item, a closed door opens once the item is taken, and
    // acting on anything in room g reveals room g + 1 (up to the top room, until the top door opens).
    void triggerCell(int x, int y, int ax, int ay);
    // Starts the glance of avatar k, if it is there, has not left and is idle.
    void nudgeNext(int k);
    // Avatar p + 1 has left: the room below gets its item (avatar 0 leaving, p = -1, writes the desktop
    // files instead), the room left starts its crawler swarm and the music falls back to its layer.
    void avatarLeft(int p);
    // The player gave a command; the first one of a game reveals room 0 and starts the music.
    void noticePlayerInput();

    float musicClock;
    float level;
    float roomReveal;
    float outsideReveal;
    Texture* itemTextures[kRoomCount][kFramesPerTexture];
    bool itemPresent[kRoomCount];
    bool itemTaken[kRoomCount];
    float itemAnim[kRoomCount];
    bool itemTakenFromSide[kRoomCount];
    bool doorOpen[kRoomCount];
    float exitTime[kRoomCount];
    int32_t crawlerCount[kRoomCount];
    float tintCurrent[3];
    float tintTarget[3];
    Texture* cellTextures[kGridWidth][kGridHeight][kFramesPerTexture];
    int32_t cellType[kGridWidth][kGridHeight];
    int32_t cellFrame[kGridWidth][kGridHeight];
    float cellTimer[kGridWidth][kGridHeight];
    float cellRate[kGridWidth][kGridHeight];
    std::list<Avatar*> avatars;   // index order 0..4
    std::list<Crawler*> crawlers; // newest first
    // Whether the tiles are drawn from a picture kept between frames (where the GL can keep one) rather
    // than cell by cell every frame; the pixels are the same either way. Benchmarks turn it off to
    // measure the field drawn directly.
    bool keepFieldPicture = true;
    // Whether the last draw showed the tiles from the kept picture.
    bool fieldDrawnFromPicture() const { return fieldDrawnFromPicture_; }

private:
    void setUpRooms();
    void setUpGrid();
    void shuffleButtons();
    void placeAvatars();
    void checkMarker();
    void destroyAvatars();

    void updateRoom(int room, float dt);
    void spawnCrawler(int room);
    void driftTint(float dt);
    void animateCells(float dt);
    void cullCrawlers();

    // Which cells a pass of tile drawing covers.
    enum class TileCells { kAll, kDoors, kStaleInKeptPicture };
    bool drawKeptField(float c, float shift);
    void drawDoorLights(float c) const;
    void drawTiles(float c, TileCells which) const;
    void drawTileRows(int firstRow, int endRow, float c, TileCells which) const;
    void drawItems(float c) const;
    void drawCrawlers(float c);
    void drawMasks(float c) const;

    CrawlerBatch crawlerBatch_; // kept from frame to frame, so a steady swarm allocates nothing
    FieldLayer fieldLayer_;     // the tiles' kept picture, freed with the World
    bool fieldDrawnFromPicture_ = false;
};
