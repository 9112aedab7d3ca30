// The ordinary play frame: every room revealed, the five avatars, the top room's item, the masks and no
// swarm, drawn by the real PlayScreen::frame, at 1280x720 and at 1920x1080. The goal's reference is the
// least any drawing of that picture can cost on this pipeline: the play frame read back once, then
// presented each pass as one full-window textured quad after a clear. Each pass times an empty frame
// (the black fill and the buffer swap), the empty frame filled by a full-window quad, the reference and
// a play frame, so that every figure and ratio comes from the same moments of a noisy machine. At
// 1280x720 it also counts, per frame, the texture binds, the drawing batches and the heap allocations
// of the game's own code (in ordinary frames and in frames with five full swarms).
#include <SDL/SDL.h>
#include <SDL/SDL_opengl.h>
#include <algorithm>
#include <chrono>
#include <cmath>
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
const int kPasses = 300;
const int kSwarmFrames = 40;
// The goal: the play frame at most this many times the cost of presenting its picture as one quad.
const double kMostTimesPicture = 1.5;
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

// The reference: one ordinary play frame read back once into a texture, then each pass presented as a
// single full-window textured quad after a clear.
class PictureOfFrame {
public:
    explicit PictureOfFrame(PlayScreen& screen) {
        const int width = static_cast<int>(theViewport->width);
        const int height = static_cast<int>(theViewport->height);
        // The play screen's frame but for its swap, read back before it.
        keepFieldLit(*theWorld);
        theWorld->update(kFrame);
        screen.draw();
        glFinish();
        std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        // TAVOK_BENCH_PICTURE=FILE keeps the picture as a PPM file, to look at.
        if (const char* path = std::getenv("TAVOK_BENCH_PICTURE")) {
            if (FILE* out = std::fopen(path, "wb")) {
                std::fprintf(out, "P6 %d %d 255\n", width, height);
                for (int y = height - 1; y >= 0; --y) {
                    for (int x = 0; x < width; ++x) {
                        std::fwrite(&pixels[(static_cast<size_t>(y) * width + x) * 4], 1, 3, out);
                    }
                }
                std::fclose(out);
            }
        }
        glGenTextures(1, &name_);
        glBindTexture(GL_TEXTURE_2D, name_);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        glBindTexture(GL_TEXTURE_2D, 0);
    }
    ~PictureOfFrame() { glDeleteTextures(1, &name_); }

    // The whole window as one textured quad; or, with field true, only the columns the play field's
    // drawing reaches (the grid and the masks, cells -1 to 15), the rest left to the clear.
    void present(bool field = false) const {
        theViewport->begin2D();
        setFlatColour(1.0f, 1.0f, 1.0f, 1.0f);
        theViewport->clearOpaque(0.0f, 0.0f, 0.0f);
        glBindTexture(GL_TEXTURE_2D, name_);
        glEnable(GL_TEXTURE_2D);
        const float w = theViewport->width;
        const float h = theViewport->height;
        float left = 0.0f;
        float right = w;
        if (field) {
            const float c = h / 21.0f;
            const float shift = std::round(w * 0.5f) - 7.0f * c;
            left = std::max(0.0f, std::floor(shift - c));
            right = std::min(w, std::ceil(shift + 15.0f * c));
        }
        glBegin(GL_QUADS);
        glTexCoord2f(left / w, 0.0f);
        glVertex3f(0.0f, left, 0.0f);
        glTexCoord2f(right / w, 0.0f);
        glVertex3f(0.0f, right, 0.0f);
        glTexCoord2f(right / w, 1.0f);
        glVertex3f(0.0f, right, h);
        glTexCoord2f(left / w, 1.0f);
        glVertex3f(0.0f, left, h);
        glEnd();
        glDisable(GL_TEXTURE_2D);
        SDL_GL_SwapBuffers();
    }

private:
    GLuint name_ = 0;
};

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

// The ordinary frame against its picture, the passes interleaved; prints the figures and the goal.
void measureOrdinary(World& world, PlayScreen& screen, FrameCounts& counts) {
    keepFieldLit(world);
    const PictureOfFrame picture(screen);
    // The GL driver compiles its drawing paths (allocating as it goes) during the first frames.
    for (int i = 0; i < kWarmUp; ++i) {
        keepFieldLit(world);
        screen.frame(kFrame);
        world.keepFieldPicture = false;
        screen.frame(kFrame);
        world.keepFieldPicture = true;
        emptyFrame();
        emptyFrameByQuad();
        picture.present();
        picture.present(true);
    }
    glFinish();

    std::vector<double> empty, emptyByQuad, reference, fieldPicture, ordinary, difference, cellByCell;
    for (int i = 0; i < kPasses; ++i) {
        keepFieldLit(world);
        const double e = timed(emptyFrame);
        emptyByQuad.push_back(timed(emptyFrameByQuad));
        reference.push_back(timed([&] { picture.present(); }));
        fieldPicture.push_back(timed([&] { picture.present(true); }));
        const double o = timed([&] { countedFrame(screen, counts); });
        // The same frame with the field's tiles drawn cell by cell, as before they were kept.
        keepFieldLit(world);
        world.keepFieldPicture = false;
        cellByCell.push_back(timed([&] { screen.frame(kFrame); }));
        world.keepFieldPicture = true;
        empty.push_back(e);
        ordinary.push_back(o);
        difference.push_back(o - e);
    }
    const int width = static_cast<int>(theViewport->width);
    const int height = static_cast<int>(theViewport->height);
    const double ordinaryMs = median(ordinary);
    const double referenceMs = median(reference);
    std::printf("ordinary play frame %dx%d (all rooms revealed, avatars, item, masks, no swarm), medians "
                "over %d interleaved passes:\n",
                width, height, kPasses);
    std::printf("  empty frame (black fill and swap)              %7.3f ms\n", median(empty));
    std::printf("  empty frame, filled by a full-window quad       %7.3f ms\n", median(emptyByQuad));
    std::printf("  its picture as one textured quad after a clear  %7.3f ms (the reference)\n", referenceMs);
    std::printf("  the field's columns of the picture as one quad  %7.3f ms (%.2f x the play frame: a tighter "
                "floor, for information)\n",
                median(fieldPicture), median(fieldPicture) / ordinaryMs);
    std::printf("  PlayScreen::frame                               %7.3f ms (%.2f x the reference, %.2f x the "
                "full-window quad)\n",
                ordinaryMs, ordinaryMs / referenceMs, ordinaryMs / median(emptyByQuad));
    std::printf("  PlayScreen::frame, the tiles drawn cell by cell   %7.3f ms (%.2f x the reference; for "
                "information: the frame before the field's picture was kept)\n",
                median(cellByCell), median(cellByCell) / referenceMs);
    std::printf("  difference (play frame - empty frame)           %7.3f ms (median of the per-pass "
                "differences)\n",
                median(difference));
    char id[32];
    char what[128];
    char figure[64];
    char limit[64];
    std::snprintf(id, sizeof id, "frame.ordinary.%d", height);
    std::snprintf(what, sizeof what,
                  "ordinary play frame %dx%d vs its picture as one textured quad (same run, medians)", width,
                  height);
    std::snprintf(figure, sizeof figure, "%.2f ms", ordinaryMs);
    std::snprintf(limit, sizeof limit, "%.1f x %.2f ms", kMostTimesPicture, referenceMs);
    const double ratio = ordinaryMs / referenceMs;
    printGoal(id, what, figure, limit, ratio, ratio <= kMostTimesPicture);
}

void measureAt720(World& world, PlayScreen& screen) {
    FrameCounts counts;
    measureOrdinary(world, screen, counts);
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

    // Against a limit of none, the ratio is taken against one allocation.
    char figure[64];
    const long most = std::max(counts.mostAllocations, swarmCounts.mostAllocations);
    std::snprintf(figure, sizeof figure, "%ld allocations", most);
    printGoal("frame.allocations",
              "game-code heap allocations in the worst steady frame (ordinary, full swarm)", figure,
              "0 allocations", static_cast<double>(most), most == 0);
}

void measureAt1080(World& world, PlayScreen& screen) {
    FrameCounts counts;
    measureOrdinary(world, screen, counts);
}
} // namespace

int main() {
    const int status = runCountedOnWorldRig(1280, 720, measureAt720);
    return status != 0 ? status : runCountedOnWorldRig(1920, 1080, measureAt1080);
}
