// Building the World at start-up and taking it apart at shutdown.
#include "game/world.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "app/random.h"
#include "app/services.h"
#include "audio/music_player.h"
#include "game/avatar.h"
#include "game/crawler.h"
#include "game/desktop_files.h"
#include "render/texture.h"
#include "resources/binary_file_stream.h"
#include "resources/resource_access.h"
#include "resources/resource_manager.h"

namespace {
const int kShuffleSwaps = 32;

// The outside strips keep their blocky look whatever room's rows they share.
bool smoothRoomCell(int x, int y) {
    return x >= 2 && x <= 11 && roomDrawnSmooth(std::min(y / kRowsPerRoom, kRoomCount - 1));
}

int randomButtonColumn() {
    const float columns = static_cast<float>(kLastButtonColumn - kFirstButtonColumn + 1);
    return static_cast<int>(columns * randomUnit() + static_cast<float>(kFirstButtonColumn));
}

void giveBack(Texture*& texture) {
    if (texture != nullptr && theResourceManager != nullptr) {
        theResourceManager->releaseTexture(texture);
    }
    texture = nullptr;
}
} // namespace

World::World() : musicClock(9999.0f), level(0.0f), roomReveal(0.0f), outsideReveal(0.0f) {
    setUpRooms();
    for (int c = 0; c < 3; ++c) {
        tintCurrent[c] = 1.0f;
        tintTarget[c] = 1.0f;
    }
    setUpGrid();
    shuffleButtons();
    placeAvatars();
    if (theMusicPlayer != nullptr) {
        theMusicPlayer->setMusicVolume(1.0f);
    }
    checkMarker();
}

void World::setUpRooms() {
    for (int g = 0; g < kRoomCount; ++g) {
        for (int k = 0; k < kFramesPerTexture; ++k) {
            itemTextures[g][k] = textureByNumber(itemTextureNumber(g) + k);
            if (roomDrawnSmooth(g)) {
                itemTextures[g][k]->setFilterLinear();
            }
        }
        // The way out starts at the top: only room 4 has its item from the start.
        itemPresent[g] = g == kRoomCount - 1;
        itemTaken[g] = false;
        itemTakenFromSide[g] = false;
        doorOpen[g] = false;
        itemAnim[g] = 0.0f;
        exitTime[g] = 0.0f;
        crawlerCount[g] = 0;
    }
}

void World::setUpGrid() {
    for (int y = 0; y < kGridHeight; ++y) {
        for (int x = 0; x < kGridWidth; ++x) {
            const int number = initialCellTexture(x, y);
            for (int k = 0; k < kFramesPerTexture; ++k) {
                cellTextures[x][y][k] = textureByNumber(number + k);
                if (smoothRoomCell(x, y)) {
                    cellTextures[x][y][k]->setFilterLinear();
                }
            }
            cellType[x][y] = initialCellType(x, y);
            cellFrame[x][y] = 0;
            cellRate[x][y] = 6.0f;
            cellTimer[x][y] = 1.0f / 6.0f;
        }
    }
}

void World::shuffleButtons() {
    // A button keeps its picture and its command together; the door and the plain wall ends stay.
    for (int room = 0; room < kRoomCount; ++room) {
        const int y = topWallRow(room);
        for (int i = 0; i < kShuffleSwaps; ++i) {
            const int a = randomButtonColumn();
            const int b = randomButtonColumn();
            std::swap(cellType[a][y], cellType[b][y]);
            for (int k = 0; k < kFramesPerTexture; ++k) {
                std::swap(cellTextures[a][y][k], cellTextures[b][y][k]);
            }
        }
    }
}

namespace {
int randomColumn(float span) {
    return static_cast<int>(span * randomUnit() + 3.0f);
}

// Avatars 1 and 2 may start facing any way but the wall beside them.
int randomFacing(int x) {
    if (randomUnit() < 0.25f) {
        return Avatar::kFacingUp;
    }
    if (randomUnit() < 0.333f) {
        return Avatar::kFacingDown;
    }
    const bool right = randomUnit() < 0.5f;
    return right || x == 3 ? Avatar::kFacingRight : Avatar::kFacingLeft;
}
} // namespace

void World::placeAvatars() {
    for (int i = 0; i < kAvatarCount; ++i) {
        Avatar* avatar = new Avatar(i);
        switch (i) {
        case 0:
            avatar->x = randomColumn(8.0f);
            avatar->y = static_cast<int>(2.0f * randomUnit() + 1.0f);
            avatar->facing = Avatar::kFacingDown;
            break;
        case 1:
        case 2:
            avatar->x = randomColumn(8.0f);
            avatar->y = 4 * i + 1;
            avatar->facing = randomFacing(avatar->x);
            break;
        case 3:
            avatar->x = randomColumn(8.0f);
            avatar->y = 13;
            avatar->facing = Avatar::kFacingDown;
            break;
        default: {
            // The top avatar starts in the left half of its upper floor row.
            avatar->x = randomColumn(4.0f);
            avatar->y = 18;
            const bool right = randomUnit() < 0.5f;
            avatar->facing = right || avatar->x == 3 ? Avatar::kFacingRight : Avatar::kFacingLeft;
            break;
        }
        }
        avatars.push_back(avatar);
    }
}

void World::checkMarker() {
    if (!fileExists(markerFileName)) {
        return;
    }
    // A finished game: show the dark, empty field once, with the last music.
    std::remove(markerFileName);
    level = 0.0f;
    destroyAvatars();
    selectMusic(0);
}

void World::destroyAvatars() {
    for (Avatar* avatar : avatars) {
        avatar->releaseTextures();
        delete avatar;
    }
    avatars.clear();
}

World::~World() {
    for (auto& room : itemTextures) {
        for (Texture*& texture : room) {
            giveBack(texture);
        }
    }
    for (auto& column : cellTextures) {
        for (auto& cell : column) {
            for (Texture*& texture : cell) {
                giveBack(texture);
            }
        }
    }
    destroyAvatars();
    for (Crawler* crawler : crawlers) {
        delete crawler;
    }
    crawlers.clear();
    selectMusic(-1);
}
