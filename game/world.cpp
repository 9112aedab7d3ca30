// The World's rules: the music clock, reveal levels, items and doors, crawler swarms, the tint drift,
// the cell animations, and what acting on a cell does.
#include "game/world.h"

#include <algorithm>

#include "app/random.h"
#include "app/services.h"
#include "audio/music_player.h"
#include "game/avatar.h"
#include "game/crawler.h"
#include "game/desktop_files.h"
#include "resources/resource_access.h"

namespace {
// Every music layer is one loop of 64/3 seconds.
const float kMusicLoop = 21.333334f;
// A room's swarm stops growing here and pulls the reveal level down to the room's own number.
const int32_t kSwarmSize = 1100;
// The first crawlers of a room stay on its floor; later ones roam.
const int32_t kHomebodies = 31;
const float kNeverRoam = 9999.0f;

int roomOfRow(int y) {
    return std::min(y >> 2, kRoomCount - 1);
}
bool isButton(int type) {
    return type >= kCellButtonUp && type <= kCellButtonAct;
}

// A new music layer picks up at the point of the shared loop where the old one was.
void moveMusicTo(float seconds) {
    if (theMusicPlayer != nullptr) {
        theMusicPlayer->setMusicPosition(static_cast<double>(seconds));
    }
}

// What each button tells the avatar of the room above, by cell type from kCellButtonUp on.
using RemoteCommand = void (Avatar::*)();
const RemoteCommand kButtonCommands[] = {&Avatar::stepUp, &Avatar::stepDown, &Avatar::stepLeft,
                                         &Avatar::stepRight, &Avatar::remoteAct};
static_assert(sizeof(kButtonCommands) / sizeof(kButtonCommands[0]) == kCellButtonAct - kCellButtonUp + 1,
              "one command per button");

float follow(float value, float goal, float rise, float fall) {
    if (goal > value) {
        return std::min(value + rise, goal);
    }
    if (goal < value) {
        return std::max(value - fall, goal);
    }
    return value;
}
} // namespace

bool World::canEnter(int x, int y) const {
    // Row 20 is never enterable.
    if (static_cast<unsigned>(x) > 13u || static_cast<unsigned>(y) > 19u) {
        return false;
    }
    const int g = y >> 2;
    if (x == kItemColumn && y == itemRow(g)) {
        // An item blocks its spot until its take-away animation has begun.
        if (itemPresent[g] && itemAnim[g] == 0.0f) {
            return false;
        }
    } else if (x == kDoorColumn && y == topWallRow(g)) {
        if (doorOpen[g]) {
            return true;
        }
    }
    return cellType[x][y] == kCellFloor;
}

void World::triggerCell(int x, int y, int ax, int ay) {
    (void)ay;
    if (static_cast<unsigned>(x) > 13u || static_cast<unsigned>(y) > 20u) {
        return;
    }
    const int g = roomOfRow(y);
    const int type = cellType[x][y];
    const bool button = isButton(type);
    for (Avatar* avatar : avatars) {
        if (button) {
            if (avatar->index == g + 1) {
                (avatar->*kButtonCommands[type - kCellButtonUp])();
            }
            cellFrame[x][y] = 1;
            cellRate[x][y] = 12.0f;
            cellTimer[x][y] = 1.0f / 12.0f;
        }
        // Whatever an avatar of room g acts on, the room above comes to light with its music layer; a
        // button is only the usual way play gets there. Room 4 has nothing above it, and once the top
        // door is open the darkening cannot be undone.
        if (static_cast<float>(g + 2) > level && g != kRoomCount - 1 && !doorOpen[kRoomCount - 1]) {
            level = static_cast<float>(g + 2);
            selectMusic(g + 2);
            moveMusicTo(musicClock);
        }
    }
    if (x == kItemColumn && y == itemRow(g) && itemPresent[g] && itemAnim[g] == 0.0f) {
        itemTaken[g] = true;
        itemTakenFromSide[g] = ax != kItemColumn;
    }
    if (x == kDoorColumn && y == topWallRow(g) && !doorOpen[g] && itemTaken[g]) {
        doorOpen[g] = true;
    }
}

void World::nudgeNext(int k) {
    for (Avatar* avatar : avatars) {
        if (avatar->index == k) {
            avatar->startGlance();
        }
    }
}

void World::avatarLeft(int p) {
    if (p == -1) {
        writePrintFile();
        writeMarkerFile();
    } else if (p >= 0 && p < kRoomCount) {
        itemPresent[p] = true;
    }
    const int index = p + 1;
    if (index < 0 || index >= kAvatarCount) {
        return;
    }
    // The room just left starts its swarm, and the music falls back a layer, in step with the loop.
    exitTime[index] += 0.01f;
    selectMusic(index == 0 ? 0 : 10 - index);
    moveMusicTo(musicClock);
}

void World::noticePlayerInput() {
    // The first input of a game lights room 0 and starts the music; it is not moved into the loop's
    // step, and falls into it at the loop's next restart.
    if (level < 1.0f) {
        level = 1.0f;
        selectMusic(1);
    }
}

void World::update(float dt) {
    if (musicClock + dt >= kMusicLoop) {
        musicClock = 0.0f;
        moveMusicTo(0.0f);
    } else {
        musicClock += dt;
    }
    level = std::min(level, 5.0f);
    roomReveal = std::min(roomReveal, 5.0f);
    outsideReveal = std::min(outsideReveal, 5.0f);
    // Rooms open quickly and darken slowly; the outside strips do the opposite.
    roomReveal = follow(roomReveal, level, 2.0f * dt, dt / 15.0f);
    outsideReveal = follow(outsideReveal, level, dt / 15.0f, 2.0f * dt);
    for (int i = 0; i < kRoomCount; ++i) {
        updateRoom(i, dt);
    }
    driftTint(dt);
    animateCells(dt);
    for (Avatar* avatar : avatars) {
        avatar->update(dt);
    }
    for (Crawler* crawler : crawlers) {
        crawler->update(dt);
    }
    // Crawlers above the darkness are culled only once the darkening has settled.
    if (level == roomReveal) {
        cullCrawlers();
    }
}

void World::updateRoom(int i, float dt) {
    if (itemPresent[i] && itemTaken[i] && itemAnim[i] < 1.0f) {
        itemAnim[i] = std::min(1.0f, itemAnim[i] + 1.5f * dt);
    }
    if (!(exitTime[i] > 0.0f)) {
        return;
    }
    const float t0 = exitTime[i];
    const float t = t0 + dt;
    exitTime[i] = t;
    // One crawler as the clock passes T1; from T2 on a growing chance every frame.
    const float fi = static_cast<float>(i);
    const float t1 = 2.0f * fi + 4.0f;
    const float t2 = 5.0f * fi + 8.0f;
    const float d = 8.0f * fi + 8.0f;
    const float q = (t - t2) / d;
    const float chance = std::min(0.7f, q * q * q * q + 0.5f * dt);
    bool spawn = false;
    if (t >= t2) {
        const float r = randomUnit();
        spawn = crawlerCount[i] <= kSwarmSize - 1 && r < chance;
    }
    if (!spawn && crawlerCount[i] <= kSwarmSize - 1) {
        spawn = t0 < t1 && t1 <= t;
    }
    if (crawlerCount[i] > kSwarmSize - 1) {
        level = std::min(level, fi);
        return;
    }
    if (spawn) {
        spawnCrawler(i);
    }
}

void World::spawnCrawler(int room) {
    crawlerCount[room] += 1;
    const float delay = crawlerCount[room] <= kHomebodies ? kNeverRoam : 0.0f;
    // Out of the room's door.
    crawlers.push_front(
        new Crawler(delay, static_cast<float>(kDoorColumn), static_cast<float>(topWallRow(room))));
}

void World::driftTint(float dt) {
    const float w = 0.5f * dt;
    bool settled = true;
    for (int c = 0; c < 3; ++c) {
        if (tintCurrent[c] != tintTarget[c]) {
            settled = false;
            tintCurrent[c] = follow(tintCurrent[c], tintTarget[c], w, w);
        }
    }
    if (settled) {
        for (float& channel : tintTarget) {
            channel = 0.3f + 0.7f * randomUnit();
        }
    }
}

void World::animateCells(float dt) {
    for (int y = 0; y < kGridHeight; ++y) {
        const int g = roomOfRow(y);
        for (int x = 0; x < kGridWidth; ++x) {
            float& timer = cellTimer[x][y];
            timer -= dt;
            if (timer > 0.0f) {
                continue;
            }
            int32_t& frame = cellFrame[x][y];
            float& rate = cellRate[x][y];
            const int type = cellType[x][y];
            if (frame != 0) {
                frame += 1;
                if (frame > 3) {
                    // An open door stays on its last frame; everything else comes back to rest.
                    frame = type == kCellDoor ? 3 : 0;
                }
            }
            if (frame == 0 && type == kCellDoor && doorOpen[g]) {
                frame = 1;
                rate = 6.0f;
            }
            if (frame == 0 && (type == kCellFloor || type == kCellWall)) {
                if (x == 1 && y == 7) {
                    // This one decoration never rests.
                    frame = 1;
                    rate = 2.0f;
                } else if (x < 2 || x > 11) {
                    // Outside, a cell stirs about once every 15 seconds; inside, once every 294.
                    if (randomUnit() < (1.0f / rate) / 15.0f) {
                        frame = 1;
                        rate = 3.0f + 0.3f * randomUnit();
                    }
                } else if (randomUnit() < (1.0f / rate) / 294.0f) {
                    frame = 1;
                    rate = 3.0f + 21.0f * randomUnit();
                }
            }
            timer = 1.0f / rate;
        }
    }
}

void World::cullCrawlers() {
    const float ceiling = 4.0f * level + 1.0f;
    for (auto it = crawlers.begin(); it != crawlers.end();) {
        if ((*it)->y > ceiling) {
            delete *it;
            it = crawlers.erase(it);
        } else {
            ++it;
        }
    }
}
