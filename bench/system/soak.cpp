// Two hours of play at 60 updates per second (432,000 updates), run as fast as the machine goes. The
// swarms pour out of every door as after a won game and grow to their caps; for the first hour the
// field is held lit, so all 5,500 crawlers live on, then the darkening is let run and culls them.
// Checked throughout: no crawler coordinate ever becomes NaN or infinite, resident memory stays flat
// while nothing is spawned or culled, and the cost of a whole frame stays flat. The cost is taken as
// the CPU time of the whole process (the GL driver's threads included), which other programs on a
// busy machine do not inflate the way they inflate the wall clock; the wall clock is printed beside it.
// Prints a line per simulated ten minutes and a verdict; the exit code is 1 when a check fails.
//
// Usage: soak [UPDATES]   (default 432000)
#include <SDL/SDL_opengl.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <malloc.h>
#include <vector>

#include "app/allocator.h"
#include "app/play_screen.h"
#include "app/services.h"
#include "bench/system/frame_timing.h"
#include "bench/system/world_rig.h"
#include "game/avatar.h"
#include "game/crawler.h"
#include "game/world.h"

namespace {
const float kFrame = 1.0f / 60.0f;
const long kUpdatesPerWindow = 36000; // ten simulated minutes
const int kTimedFrames = 30;          // whole frames timed per window
// How far the process's resident size may wander over the 40 measured minutes of an hour while the
// same crawlers live on. With the game's allocator thresholds the GL driver's per-frame buffers stay in
// the heap and are reused; what is left is a slow creep of the driver's own (about 1 to 1.7 MiB per 40
// minutes, lit or dark, while the game's heap stays flat). The bound allows about twice that; before
// the thresholds the lit hour grew by over 4 MB.
const long kResidentWanderKb = 3072;

bool finite(const Crawler& c) {
    bool ok = std::isfinite(c.x) && std::isfinite(c.y) && std::isfinite(c.targetX) &&
              std::isfinite(c.targetY) && std::isfinite(c.age);
    for (int i = 0; i < kCrawlerTrail; ++i) {
        ok = ok && std::isfinite(c.trailX[i]) && std::isfinite(c.trailY[i]);
    }
    return ok;
}

// Bytes the game's own thread holds from the C heap (the main arena; the GL driver's threads use arenas
// of their own).
long heapInUseKb() {
    return static_cast<long>(mallinfo2().uordblks / 1024);
}

double processCpuMs() {
    timespec now;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}
} // namespace

int main(int argc, char** argv) {
    const long updates = argc > 1 ? std::atol(argv[1]) : 432000;
    // As the game does at the start of main.
    const bool thresholds = raiseAllocatorThresholds();
    if (!openWorldRig(1280, 720)) {
        return 0;
    }
    World& world = *theWorld;
    PlayScreen screen;
    // A won game: every avatar gone, every door passed a moment ago.
    for (Avatar* avatar : world.avatars) {
        avatar->exited = true;
    }
    for (int room = 0; room < kRoomCount; ++room) {
        world.exitTime[room] = 0.001f;
    }
    keepFieldLit(world);

    const long litUntil = updates / 2;
    long badCoordinates = 0;
    size_t largestSwarm = 0;
    std::vector<double> windowCosts;
    std::vector<long> windowMemory;
    std::vector<long> windowHeap;
    std::vector<size_t> windowCrawlers;
    const auto started = std::chrono::steady_clock::now();
    std::printf("%8s %9s %12s %12s %10s %14s %14s\n", "minute", "crawlers", "room reveal", "resident KiB",
                "heap KiB", "frame CPU ms", "frame wall ms");
    for (long n = 1; n <= updates; ++n) {
        if (n <= litUntil) {
            keepFieldLit(world);
        }
        world.update(kFrame);
        for (const Crawler* crawler : world.crawlers) {
            if (!finite(*crawler)) {
                ++badCoordinates;
            }
        }
        largestSwarm = std::max(largestSwarm, world.crawlers.size());
        if (n % kUpdatesPerWindow == 0) {
            std::vector<double> costs;
            std::vector<double> walls;
            for (int i = 0; i < kTimedFrames; ++i) {
                if (n <= litUntil) {
                    keepFieldLit(world);
                }
                const auto start = std::chrono::steady_clock::now();
                const double cpuStart = processCpuMs();
                screen.frame(kFrame);
                glFinish();
                costs.push_back(processCpuMs() - cpuStart);
                walls.push_back(
                    std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                        .count());
            }
            windowCosts.push_back(median(costs));
            windowMemory.push_back(residentKb());
            windowHeap.push_back(heapInUseKb());
            windowCrawlers.push_back(world.crawlers.size());
            std::printf("%8ld %9zu %12.3f %12ld %10ld %14.3f %14.3f\n", n / 3600, world.crawlers.size(),
                        world.roomReveal, windowMemory.back(), windowHeap.back(), windowCosts.back(),
                        median(walls));
            std::fflush(stdout);
        }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

    // Flatness over the windows with the same crawlers alive: the lit hour after the first window (the
    // swarms are full by then) and the dark hour after its first window (the culling is over by then).
    bool capsReached = true;
    for (int room = 0; room < kRoomCount; ++room) {
        capsReached = capsReached && world.crawlerCount[room] == 1100;
    }
    bool ok = badCoordinates == 0 && capsReached;
    std::printf("%ld updates (%.1f simulated hours) in %.1f s; largest swarm %zu crawlers; every room at its "
                "cap: %s; %ld NaN or infinite crawler coordinates\n",
                updates, updates / 216000.0, seconds, largestSwarm, capsReached ? "yes" : "NO",
                badCoordinates);
    const size_t windows = windowCosts.size();
    const size_t half = windows / 2;
    // The game's heap must not grow by a byte that it does not give back; the process's resident size
    // (the GL driver's caches included) may wander by a few pages, not by megabytes.
    long largestWander = 0;
    auto flat = [&](const char* what, size_t from, size_t to) {
        if (to <= from + 1) {
            return;
        }
        const auto [memLow, memHigh] =
            std::minmax_element(windowMemory.begin() + from, windowMemory.begin() + to);
        const auto [heapLow, heapHigh] =
            std::minmax_element(windowHeap.begin() + from, windowHeap.begin() + to);
        const auto [costLow, costHigh] =
            std::minmax_element(windowCosts.begin() + from, windowCosts.begin() + to);
        const bool heapFlat = *heapHigh - *heapLow <= 256;
        const bool memoryFlat = *memHigh - *memLow <= kResidentWanderKb;
        const bool costFlat = *costHigh <= 1.5 * *costLow + 0.5;
        std::printf(
            "%s (minutes %zu to %zu, %zu crawlers at the end):\n"
            "    game heap %ld..%ld KiB (%s), resident %ld..%ld KiB (%s), frame CPU median %.3f..%.3f "
            "ms (%s)\n",
            what, (from + 1) * 10, to * 10, windowCrawlers[to - 1], *heapLow, *heapHigh,
            heapFlat ? "flat" : "GROWING", *memLow, *memHigh, memoryFlat ? "flat" : "GROWING", *costLow,
            *costHigh, costFlat ? "flat" : "NOT FLAT");
        ok = ok && heapFlat && memoryFlat && costFlat;
        largestWander = std::max(largestWander, *memHigh - *memLow);
    };
    flat("lit field, full swarms", 1, half);
    flat("after the darkening", half + 1, windows);
    std::printf("soak %s (allocator thresholds %s)\n", ok ? "passed" : "FAILED",
                thresholds ? "set" : "REFUSED");
    std::printf(
        "GOAL soak.rss | resident growth while the same crawlers live on, either hour | %ld KiB | limit %ld "
        "KiB | ratio %.2f | %s\n",
        largestWander, kResidentWanderKb, static_cast<double>(largestWander) / kResidentWanderKb,
        largestWander <= kResidentWanderKb ? "met" : "NOT MET");
    closeWorldRig();
    return ok ? 0 : 1;
}
