// The cost of one frame with all five swarms at their cap (5,500 crawlers), as median and 99th
// percentile over many frames at 1280x720: the world's update alone, the submission of its drawing
// alone (the CPU side, without waiting for the GL to draw it), and a whole play-screen frame with the
// buffer swap and glFinish.
#include <SDL/SDL_opengl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "app/allocator.h"
#include "app/play_screen.h"
#include "app/services.h"
#include "app/viewport.h"
#include "bench/system/frame_timing.h"
#include "bench/system/world_rig.h"
#include "game/world.h"

namespace {
const float kFrame = 1.0f / 60.0f;
const int kFrames = 600;

struct Spread {
    double median;
    double p99;
};

Spread spreadOf(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times[(times.size() * 99) / 100]};
}

void report(const char* what, const std::vector<double>& times) {
    const Spread s = spreadOf(times);
    std::printf("%-44s median %7.3f ms   p99 %7.3f ms   (%zu frames)\n", what, s.median, s.p99, times.size());
}
} // namespace

int main() {
    raiseAllocatorThresholds(); // as the game does at the start of main
    if (!openWorldRig(1280, 720)) {
        return 0;
    }
    World& world = *theWorld;
    fillSwarmsToCap(world);
    PlayScreen screen;
    // The GL driver compiles its drawing paths during the first frames.
    for (int i = 0; i < 30; ++i) {
        keepFieldLit(world);
        screen.frame(kFrame);
    }
    glFinish();

    std::vector<double> update, submit, full;
    for (int i = 0; i < kFrames; ++i) {
        keepFieldLit(world);
        auto start = std::chrono::steady_clock::now();
        world.update(kFrame);
        update.push_back(msSince(start));

        theViewport->begin2D();
        start = std::chrono::steady_clock::now();
        world.draw();
        submit.push_back(msSince(start));
        glFinish();

        keepFieldLit(world);
        start = std::chrono::steady_clock::now();
        screen.frame(kFrame);
        glFinish();
        full.push_back(msSince(start));
    }
    std::printf("frame cost with five full swarms (%zu crawlers), 1280x720:\n", world.crawlers.size());
    report("  world update alone", update);
    report("  world draw submission alone", submit);
    report("  full frame (update, draw, swap, glFinish)", full);
    closeWorldRig();
    return 0;
}
