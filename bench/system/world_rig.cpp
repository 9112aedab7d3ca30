// Window, services and world for the system benchmarks.
#include "bench/system/world_rig.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "app/display.h"
#include "app/random.h"
#include "app/services.h"
#include "audio/audio_device.h"
#include "game/avatar.h"
#include "game/crawler.h"
#include "game/world.h"

namespace {
const float kFrame = 1.0f / 60.0f;
}

bool openWorldRig(int width, int height) {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    if (!openDisplay("taVok bench", width, height, false)) {
        std::printf("no OpenGL window: skipped\n");
        return false;
    }
    createServices();
    openAudio();
    seedRandomWith(1);
    theWorld = new World();
    if (gameMode == kModeMessage) {
        std::printf("(pictures missing from res/: the field is drawn untextured)\n");
    }
    return true;
}

void closeWorldRig() {
    destroyServices();
    closePlatform();
}

void keepFieldLit(World& world) {
    world.level = 5.0f;
    world.roomReveal = 5.0f;
    world.outsideReveal = 5.0f;
}

void fillSwarmsToCap(World& world) {
    keepFieldLit(world);
    for (Avatar* avatar : world.avatars) {
        avatar->exited = true;
    }
    for (int room = 0; room < kRoomCount; ++room) {
        world.exitTime[room] = 100.0f;
        for (int n = 1; n <= 1100; ++n) {
            world.crawlers.push_front(new Crawler(n <= 31 ? 9999.0f : 0.0f, 4.0f, 4.0f * room + 3.0f));
        }
        world.crawlerCount[room] = 1100;
    }
    // Let them spread out of their doors before measuring.
    for (int i = 0; i < 600; ++i) {
        keepFieldLit(world);
        world.update(kFrame);
    }
    keepFieldLit(world);
}

long residentKb() {
    FILE* statm = std::fopen("/proc/self/statm", "r");
    long pages = 0;
    long resident = 0;
    if (statm != nullptr) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) {
            resident = 0;
        }
        std::fclose(statm);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}
