// How long the World takes with all five swarms full (5,500 crawlers): the update alone, and a whole
// frame of the play screen at 1280x720 with drawing and buffer swap. It also counts heap allocations
// and drawing batches per frame: a steady frame allocates nothing, a spawn allocates only its crawler.
#include <SDL/SDL.h>
#include <SDL/SDL_opengl.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/play_screen.h"
#include "app/services.h"
#include "bench/system/allocation_counter.h"
#include "bench/system/counted_world_run.h"
#include "bench/system/frame_timing.h"
#include "bench/system/world_rig.h"
#include "game/crawler.h"
#include "game/world.h"

namespace {
long batches = 0;
const float kFrame = 1.0f / 60.0f;
} // namespace

extern "C" void __real_glBegin(GLenum mode);
extern "C" void __wrap_glBegin(GLenum mode) {
    ++batches;
    __real_glBegin(mode);
}

namespace {
void benchUpdate(World& world) {
    std::vector<double> times;
    times.reserve(1000);
    long allocated = 0;
    for (int i = 0; i < 1000; ++i) {
        keepFieldLit(world);
        const long before = countedAllocations();
        const auto start = std::chrono::steady_clock::now();
        world.update(kFrame);
        times.push_back(msSince(start));
        allocated += countedAllocations() - before;
    }
    std::printf(
        "world update, 5 full swarms (%zu crawlers): median %.3f ms, fastest %.3f ms over %zu updates; "
        "%ld heap allocations\n",
        world.crawlers.size(), median(times), *std::min_element(times.begin(), times.end()), times.size(),
        allocated);
}

void benchFrame(World& world, PlayScreen& screen, const char* what) {
    // The GL driver compiles its drawing paths (allocating as it goes) during the first frames.
    for (int i = 0; i < 30; ++i) {
        screen.frame(kFrame);
    }
    std::vector<double> times;
    times.reserve(300);
    long allocated = 0;
    long frameBatches = 0;
    for (int i = 0; i < 300; ++i) {
        keepFieldLit(world);
        const long before = countedAllocations();
        const long batchesBefore = batches;
        const auto start = std::chrono::steady_clock::now();
        screen.frame(kFrame);
        glFinish();
        times.push_back(msSince(start));
        allocated += countedAllocations() - before;
        frameBatches = batches - batchesBefore;
    }
    std::printf(
        "full frame 1280x720, %s (%zu crawlers): median %.2f ms over %zu frames; %ld heap allocations; "
        "%ld glBegin batches per frame\n",
        what, world.crawlers.size(), median(times), times.size(), allocated, frameBatches);
}

// A swarm growing from its door: the only allocations are the spawned crawlers themselves.
void countSpawnAllocations(World& world) {
    for (Crawler* crawler : world.crawlers) {
        delete crawler;
    }
    world.crawlers.clear();
    for (int room = 0; room < kRoomCount; ++room) {
        world.crawlerCount[room] = 0;
        world.exitTime[room] = room == 4 ? 70.0f : 0.0f;
    }
    long allocated = 0;
    int frames = 0;
    for (; frames < 600; ++frames) {
        keepFieldLit(world);
        const long before = countedAllocations();
        world.update(kFrame);
        allocated += countedAllocations() - before;
    }
    std::printf(
        "growing swarm: %d crawlers spawned in %d updates with %ld heap allocations (%.1f per spawn: the "
        "crawler and its list link)\n",
        world.crawlerCount[4], frames, allocated,
        world.crawlerCount[4] > 0 ? double(allocated) / world.crawlerCount[4] : 0.0);
}

void measure(World& world, PlayScreen& screen) {
    keepFieldLit(world);
    benchFrame(world, screen, "no crawlers");
    fillSwarmsToCap(world);
    benchUpdate(world);
    benchFrame(world, screen, "five full swarms");
    countSpawnAllocations(world);
}
} // namespace

int main() {
    return runCountedOnWorldRig(1280, 720, measure);
}
