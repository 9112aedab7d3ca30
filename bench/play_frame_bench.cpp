// The ordinary play frame at 1280x720: every room revealed, the five avatars, the top room's item, the
// masks and no swarm, drawn by the real PlayScreen::frame. Each pass times an empty frame (the black
// fill and the buffer swap) and then a play frame, so the two figures and their difference come from
// the same moments of a noisy machine. It also counts, per frame, the texture binds, the drawing
// batches and the heap allocations of the game's own code (in ordinary frames and in frames with five
// full swarms).
#include <SDL/SDL.h>
#include <SDL/SDL_opengl.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/play_screen.h"
#include "app/services.h"
#include "app/viewport.h"
#include "bench/system/allocation_counter.h"
#include "bench/system/counted_world_run.h"
#include "bench/system/frame_timing.h"
#include "bench/system/world_rig.h"
#include "game/world.h"
#include "render/render_state.h"

namespace {
long binds = 0;
long batches = 0;

const float kFrame = 1.0f / 60.0f;
const int kWarmUp = 60;
const int kPasses = 600;
const int kSwarmFrames = 40;
const double kOrdinaryLimitMs = 4.0;
} // namespace

extern "C" void __real_glBegin(GLenum mode);
extern "C" void __wrap_glBegin(GLenum mode) {
    ++batches;
    __real_glBegin(mode);
}
extern "C" void __real_glBindTexture(GLenum target, GLuint texture);
extern "C" void __wrap_glBindTexture(GLenum target, GLuint texture) {
    ++binds;
    __real_glBindTexture(target, texture);
}

namespace {
// The platform's share of every frame: the window filled black as the play screen fills it, then
// shown.
void emptyFrame() {
    theViewport->begin2D();
    setFlatColour(0.0f, 0.0f, 0.0f, 1.0f);
    theViewport->clearOpaque(0.0f, 0.0f, 0.0f);
    SDL_GL_SwapBuffers();
}

// The same, filled by one full-window quad: what the cheaper fill is measured against.
void emptyFrameByQuad() {
    theViewport->begin2D();
    setFlatColour(0.0f, 0.0f, 0.0f, 1.0f);
    glBegin(GL_QUADS);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glVertex3f(0.0f, theViewport->width, 0.0f);
    glVertex3f(0.0f, theViewport->width, theViewport->height);
    glVertex3f(0.0f, 0.0f, theViewport->height);
    glEnd();
    SDL_GL_SwapBuffers();
}

template <typename Frame> double timed(Frame frame) {
    const auto start = std::chrono::steady_clock::now();
    frame();
    glFinish();
    return msSince(start);
}

void printGoal(const char* id, const char* what, const char* figure, const char* limit, double ratio,
               bool met) {
    std::printf("GOAL %s | %s | %s | limit %s | ratio %.2f | %s\n", id, what, figure, limit, ratio,
                met ? "met" : "NOT MET");
}

struct FrameCounts {
    long allocations = 0; // over all measured frames
    long mostAllocations = 0;
    long binds = 0;   // of the last frame
    long batches = 0; // of the last frame
};

// Runs one play frame, counting what it does.
void countedFrame(PlayScreen& screen, FrameCounts& counts) {
    const long allocationsBefore = countedAllocations();
    const long bindsBefore = binds;
    const long batchesBefore = batches;
    screen.frame(kFrame);
    const long allocated = countedAllocations() - allocationsBefore;
    counts.allocations += allocated;
    counts.mostAllocations = std::max(counts.mostAllocations, allocated);
    counts.binds = binds - bindsBefore;
    counts.batches = batches - batchesBefore;
}

void measure(World& world, PlayScreen& screen) {
    keepFieldLit(world);
    // The GL driver compiles its drawing paths (allocating as it goes) during the first frames.
    for (int i = 0; i < kWarmUp; ++i) {
        keepFieldLit(world);
        screen.frame(kFrame);
        emptyFrame();
        emptyFrameByQuad();
    }
    glFinish();

    std::vector<double> empty, emptyByQuad, ordinary, difference;
    FrameCounts counts;
    for (int i = 0; i < kPasses; ++i) {
        keepFieldLit(world);
        const double e = timed(emptyFrame);
        emptyByQuad.push_back(timed(emptyFrameByQuad));
        const double o = timed([&] { countedFrame(screen, counts); });
        empty.push_back(e);
        ordinary.push_back(o);
        difference.push_back(o - e);
    }
    const double ordinaryMs = median(ordinary);
    std::printf("ordinary play frame 1280x720 (all rooms revealed, avatars, item, masks, no swarm), medians "
                "over %d passes:\n",
                kPasses);
    std::printf("  empty frame (black fill and swap)        %7.3f ms\n", median(empty));
    std::printf("  empty frame, filled by a full-window quad %7.3f ms\n", median(emptyByQuad));
    std::printf("  PlayScreen::frame                         %7.3f ms\n", ordinaryMs);
    std::printf("  difference (play frame - empty frame)     %7.3f ms (median of the per-pass differences)\n",
                median(difference));
    std::printf("  per play frame: %ld texture binds, %ld glBegin batches; game code: %ld heap allocations "
                "over %d frames\n",
                counts.binds, counts.batches, counts.allocations, kPasses);

    // Five full swarms: the heaviest steady frame, counted for allocations only.
    fillSwarmsToCap(world);
    FrameCounts swarmCounts;
    for (int i = 0; i < kWarmUp / 2; ++i) {
        keepFieldLit(world);
        screen.frame(kFrame);
    }
    for (int i = 0; i < kSwarmFrames; ++i) {
        keepFieldLit(world);
        countedFrame(screen, swarmCounts);
    }
    std::printf("  five full swarms (%zu crawlers): game code: %ld heap allocations over %d frames\n",
                world.crawlers.size(), swarmCounts.allocations, kSwarmFrames);

    char figure[64];
    char limit[32];
    std::snprintf(figure, sizeof figure, "%.2f ms", ordinaryMs);
    std::snprintf(limit, sizeof limit, "%.1f ms", kOrdinaryLimitMs);
    printGoal("frame.ordinary", "ordinary play frame 1280x720, median of PlayScreen::frame", figure, limit,
              ordinaryMs / kOrdinaryLimitMs, ordinaryMs <= kOrdinaryLimitMs);
    // Against a limit of none, the ratio is taken against one allocation.
    const long most = std::max(counts.mostAllocations, swarmCounts.mostAllocations);
    std::snprintf(figure, sizeof figure, "%ld allocations", most);
    printGoal("frame.allocations",
              "game-code heap allocations in the worst steady frame (ordinary, full swarm)", figure,
              "0 allocations", static_cast<double>(most), most == 0);
}
} // namespace

int main() {
    return runCountedOnWorldRig(1280, 720, measure);
}
