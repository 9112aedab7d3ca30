// The full-swarm frame (five swarms at their cap, 5,500 crawlers, 1280x720) against other ways of
// submitting the same bodies, all in one run with the frames interleaved round by round, so that the
// machine's load falls on each alike. Every other way draws the same frame as the game's play screen
// (update, clear, the field, the bodies, swap, glFinish); only the bodies go to the GL differently, as
// the 24 quads per body that the crawler's drawing describes, built from the game's own body points and
// half-widths:
//   immediate mode, every quad       the way the bodies were first drawn
//   vertex arrays, every quad
//   vertex arrays, front quads only  quads with a triangle facing the viewer: the goal's reference
//   vertex arrays, front triangles   only the triangles facing the viewer
//   indexed front triangles          the same, the two halves of a quad sharing corners
//   front triangles, flat shading    the same, the colour not interpolated
// The game's own batch sends each body as its bands and the uncovered halves of its diamonds
// (game/crawler_batch.*), the same pixels from about half the triangles, and its field's tiles come from
// a picture kept between frames (game/field_layer.*). Every other way draws the field as the game did
// before it kept that picture, cell by cell every frame, so that the reference stays the frame the goal
// was set against. Two more ways show what is left of the game's frame: without any bodies (the update,
// the field and the swap alone), and the floor of this batch, its triangles gathered once from the full
// swarm and kept in a buffer object on the GL, so that only the GL's drawing of them is left each frame;
// both once with the field drawn cell by cell and once with the kept picture.
#define GL_GLEXT_PROTOTYPES 1
#include <SDL/SDL.h>
#include <SDL/SDL_opengl.h>
#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <list>
#include <string>
#include <vector>

#include "app/allocator.h"
#include "app/play_screen.h"
#include "app/services.h"
#include "app/viewport.h"
#include "bench/system/allocation_counter.h"
#include "bench/system/counted_world_run.h"
#include "bench/system/frame_timing.h"
#include "bench/system/world_rig.h"
#include "game/crawler.h"
#include "game/crawler_batch.h"
#include "game/world.h"
#include "render/render_state.h"

namespace {
const float kFrame = 1.0f / 60.0f;
int kRounds = 40;
// "quick" on the command line: only the half with the game's thresholds, 10 rounds (while iterating).
bool quick = false;
// The goal: the game's full-swarm frame at most this share of the front-quad submission's.
const double kMostOfReference = 0.75;

struct Corner {
    float x, y, z, r, g, b;
};

// Every quad of every body, four corners each, in list order.
std::vector<Corner> allQuads;
std::vector<Corner> kept;

// The 24 quads per body that the crawler's drawing describes, from the game's own body points,
// half-widths and colour.
void gatherQuads(const World& world, float c) {
    allQuads.clear();
    for (const Crawler* k : world.crawlers) {
        float x[kCrawlerBodyPoints], y[kCrawlerBodyPoints], rgb[3];
        k->bodyPoints(x, y);
        k->bodyColour(world.tintCurrent, rgb);
        for (int i = 0; i + 1 < kCrawlerBodyPoints; ++i) {
            const float px = x[i], py = y[i], wp = kCrawlerHalfWidth[i];
            const float qx = x[i + 1], qy = y[i + 1], wq = kCrawlerHalfWidth[i + 1];
            const float q[16][2] = {{px, py + wp}, {qx, qy + wq}, {qx + wq, qy}, {px + wp, py},
                                    {px + wp, py}, {qx + wq, qy}, {qx, qy - wq}, {px, py - wp},
                                    {px, py - wp}, {qx, qy - wq}, {qx - wq, qy}, {px - wp, py},
                                    {px - wp, py}, {qx - wq, qy}, {qx, qy + wq}, {px, py + wp}};
            for (const auto& p : q) {
                const ModelPoint m = modelPoint2D(p[0] * c, p[1] * c);
                allQuads.push_back({m.x, m.y, m.z, rgb[0], rgb[1], rgb[2]});
            }
        }
    }
}

float doubleArea(const Corner& a, const Corner& b, const Corner& c) {
    return (b.y - a.y) * (c.z - a.z) - (b.z - a.z) * (c.y - a.y);
}

void drawArrays(const std::vector<Corner>& corners, GLenum mode) {
    if (corners.empty()) {
        return;
    }
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, sizeof(Corner), &corners[0].x);
    glColorPointer(3, GL_FLOAT, sizeof(Corner), &corners[0].r);
    glDrawArrays(mode, 0, static_cast<GLsizei>(corners.size()));
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

void immediateEveryQuad(const World& world, float c) {
    gatherQuads(world, c);
    glBegin(GL_QUADS);
    for (const Corner& v : allQuads) {
        glColor3f(v.r, v.g, v.b);
        glVertex3f(v.x, v.y, v.z);
    }
    glEnd();
}

void arraysEveryQuad(const World& world, float c) {
    gatherQuads(world, c);
    drawArrays(allQuads, GL_QUADS);
}

void arraysFrontQuads(const World& world, float c) {
    gatherQuads(world, c);
    kept.clear();
    for (size_t i = 0; i < allQuads.size(); i += 4) {
        const Corner* q = &allQuads[i];
        if (doubleArea(q[0], q[1], q[3]) > 0.0f || doubleArea(q[1], q[2], q[3]) > 0.0f) {
            kept.insert(kept.end(), q, q + 4);
        }
    }
    drawArrays(kept, GL_QUADS);
}

void arraysFrontTriangles(const World& world, float c) {
    gatherQuads(world, c);
    kept.clear();
    for (size_t i = 0; i < allQuads.size(); i += 4) {
        const Corner* q = &allQuads[i];
        // The GL's own split of a quad.
        if (doubleArea(q[0], q[1], q[3]) > 0.0f) {
            kept.insert(kept.end(), {q[0], q[1], q[3]});
        }
        if (doubleArea(q[1], q[2], q[3]) > 0.0f) {
            kept.insert(kept.end(), {q[1], q[2], q[3]});
        }
    }
    drawArrays(kept, GL_TRIANGLES);
}

// The front triangles again, through indices into every quad's four corners, so that the two halves of a
// quad share theirs.
std::vector<GLuint> indices;
void arraysIndexedFront(const World& world, float c) {
    gatherQuads(world, c);
    indices.clear();
    for (size_t i = 0; i < allQuads.size(); i += 4) {
        const Corner* q = &allQuads[i];
        const GLuint b = static_cast<GLuint>(i);
        if (doubleArea(q[0], q[1], q[3]) > 0.0f) {
            indices.insert(indices.end(), {b, b + 1, b + 3});
        }
        if (doubleArea(q[1], q[2], q[3]) > 0.0f) {
            indices.insert(indices.end(), {b + 1, b + 2, b + 3});
        }
    }
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, sizeof(Corner), &allQuads[0].x);
    glColorPointer(3, GL_FLOAT, sizeof(Corner), &allQuads[0].r);
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indices.size()), GL_UNSIGNED_INT, indices.data());
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}
void arraysFrontTrianglesFlat(const World& world, float c) {
    glShadeModel(GL_FLAT);
    arraysFrontTriangles(world, c);
    glShadeModel(GL_SMOOTH);
}

void noBodies(const World&, float) {}

// The game's triangles of one moment, uploaded once: drawn as the game's batch draws them (flat
// shading, one colour per body), with no gathering and no copying left.
GLuint bodiesOnTheGl = 0;
GLsizei cornersOnTheGl = 0;
void bodiesAlreadyOnTheGl(const World& world, float c) {
    if (bodiesOnTheGl == 0) {
        CrawlerBatch batch;
        batch.gather(world.crawlers, c, world.tintCurrent);
        glGenBuffers(1, &bodiesOnTheGl);
        glBindBuffer(GL_ARRAY_BUFFER, bodiesOnTheGl);
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(batch.vertexCount() * sizeof(CrawlerBatch::Vertex)),
                     batch.vertices(), GL_STATIC_DRAW);
        cornersOnTheGl = static_cast<GLsizei>(batch.vertexCount());
    }
    glBindBuffer(GL_ARRAY_BUFFER, bodiesOnTheGl);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, sizeof(CrawlerBatch::Vertex), nullptr);
    glColorPointer(3, GL_FLOAT, sizeof(CrawlerBatch::Vertex),
                   reinterpret_cast<const void*>(offsetof(CrawlerBatch::Vertex, r)));
    glShadeModel(GL_FLAT);
    glDrawArrays(GL_TRIANGLES, 0, cornersOnTheGl);
    glShadeModel(GL_SMOOTH);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

using Submission = void (*)(const World&, float);
struct Way {
    const char* what;
    Submission submit; // null: the game's own play-screen frame
    bool fieldKept;    // the field from the kept picture, as the game draws it; else cell by cell
    std::vector<double> times;
    std::vector<double> cpuTimes; // the process's CPU time, the GL driver's threads included
};

// The play screen's frame with only the bodies submitted another way. The field is drawn with the
// crawler list set aside, then the bodies on top; the field's masks cover only its top row while it is
// held lit, so the GL does the same work as in the game's frame.
void frameWith(World& world, Submission submit, bool fieldKept) {
    world.update(kFrame);
    theViewport->begin2D();
    setFlatColour(0, 0, 0, 1);
    theViewport->clearOpaque(0, 0, 0);
    std::list<Crawler*> setAside;
    setAside.swap(world.crawlers);
    world.keepFieldPicture = fieldKept;
    world.draw();
    world.keepFieldPicture = true;
    setAside.swap(world.crawlers);
    const float c = theViewport->height / 21.0f;
    glPushMatrix();
    glTranslatef(0.0f, std::round(theViewport->width * 0.5f) - 14.0f * c * 0.5f, 0.0f);
    setFlatColour(0, 0, 0, 1);
    submit(world, c);
    glPopMatrix();
    SDL_GL_SwapBuffers();
}

// The CPU time of the whole process (every thread) in milliseconds: what other programs' load inflates
// less than the wall clock.
double cpuMs() {
    timespec now;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

long minorFaults() {
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

struct Half {
    long gameAllocations; // on the game's thread, in 20 steady frames of the game alone
    double game;
    double reference; // vertex arrays, front quads only
    double floor;     // the game's triangles already on the GL
    double bare;      // no bodies at all
    double keptFloor; // the floor with the field's kept picture
    double keptBare;  // no bodies, the field's kept picture
};

Half compare(World& world, PlayScreen& screen, const char* allocator) {
    std::vector<Way> ways = {
        {"the game's frame (bands and diamond halves, flat shading)", nullptr, true, {}, {}},
        {"immediate mode, every quad", immediateEveryQuad, false, {}, {}},
        {"vertex arrays, every quad", arraysEveryQuad, false, {}, {}},
        {"vertex arrays, front quads only", arraysFrontQuads, false, {}, {}},
        {"vertex arrays, front triangles only", arraysFrontTriangles, false, {}, {}},
        {"indexed front triangles, shared corners", arraysIndexedFront, false, {}, {}},
        {"vertex arrays, front triangles, flat shading", arraysFrontTrianglesFlat, false, {}, {}},
        {"floor: the game's triangles already on the GL", bodiesAlreadyOnTheGl, false, {}, {}},
        {"no bodies (update, field, swap)", noBodies, false, {}, {}},
        {"floor, the field's kept picture", bodiesAlreadyOnTheGl, true, {}, {}},
        {"no bodies, the field's kept picture", noBodies, true, {}, {}}};
    // The driver compiles its drawing paths and grows its buffers during the first frames of each way.
    for (int i = 0; i < 5; ++i) {
        for (Way& way : ways) {
            keepFieldLit(world);
            way.submit == nullptr ? screen.frame(kFrame) : frameWith(world, way.submit, way.fieldKept);
            glFinish();
        }
    }
    const long faultsBefore = minorFaults();
    long gameAllocations = 0;
    for (int round = 0; round < kRounds; ++round) {
        for (Way& way : ways) {
            keepFieldLit(world);
            const double cpuStart = cpuMs();
            const auto start = std::chrono::steady_clock::now();
            way.submit == nullptr ? screen.frame(kFrame) : frameWith(world, way.submit, way.fieldKept);
            glFinish();
            way.times.push_back(msSince(start));
            way.cpuTimes.push_back(cpuMs() - cpuStart);
        }
    }
    const long faults = minorFaults() - faultsBefore;
    // Steady frames of the game alone: the interleaved ways above make the driver compile its drawing
    // paths again now and then, which would be counted against the game.
    for (int i = 0; i < 5; ++i) {
        keepFieldLit(world);
        screen.frame(kFrame);
    }
    const long allocatedBefore = countedAllocations();
    for (int i = 0; i < 20; ++i) {
        keepFieldLit(world);
        screen.frame(kFrame);
        glFinish();
    }
    gameAllocations = countedAllocations() - allocatedBefore;
    std::printf("full-swarm frame, %zu crawlers, 1280x720, %s: medians of %d interleaved rounds\n",
                world.crawlers.size(), allocator, kRounds);
    const Half half = {gameAllocations,        median(ways[0].times), median(ways[3].times),
                       median(ways[7].times),  median(ways[8].times), median(ways[9].times),
                       median(ways[10].times)};
    for (const Way& way : ways) {
        const double m = median(way.times);
        std::printf("  %-58s %8.2f ms  (%.2f x front quads); CPU %7.2f ms (%.2f x)\n", way.what, m,
                    m / half.reference, median(way.cpuTimes), median(way.cpuTimes) / median(ways[3].cpuTimes));
    }
    std::printf("  page faults per frame %.0f, resident memory %ld KiB\n",
                static_cast<double>(faults) / (kRounds * ways.size()), residentKb());
    return half;
}

void measure(World& world, PlayScreen& screen) {
    fillSwarmsToCap(world);
    if (quick) {
        raiseAllocatorThresholds();
        const Half half = compare(world, screen, "the game's allocator thresholds, quick");
        std::printf("game / front quads: %.2f; floor / front quads: %.2f\n", half.game / half.reference,
                    half.floor / half.reference);
        return;
    }
    const Half before = compare(world, screen, "C allocator defaults");
    const bool raised = raiseAllocatorThresholds();
    const Half after =
        compare(world, screen, raised ? "the game's allocator thresholds" : "(thresholds REFUSED)");
    std::printf("the game's full-swarm frame: %.2f ms with the allocator defaults, %.2f ms with the game's "
                "thresholds (%.2f x)\n",
                before.game, after.game, before.game / after.game);
    std::printf(
        "heap allocations of the game's own code in %d steady full-swarm frames: %ld (zero allocations "
        "per steady frame means the game's code; the GL driver allocates with malloc on every draw "
        "call, which this count leaves out)\n",
        40, before.gameAllocations + after.gameAllocations);
    // What no way of handing the GL these triangles can go below: the frame with them already on the
    // GL, against the same reference.
    std::printf("floor of the game's triangles (already gathered and on the GL): %.2f ms, %.2f x front quads; "
                "the bodies' share of it over the frame without bodies: %.2f ms against %.2f ms of the game's "
                "frame and %.2f ms of the front quads\n",
                after.floor, after.floor / after.reference, after.floor - after.bare, after.game - after.bare,
                after.reference - after.bare);
    std::printf("with the field's kept picture: floor %.2f ms (%.2f x front quads), no bodies %.2f ms against "
                "%.2f ms with the field drawn cell by cell\n",
                after.keptFloor, after.keptFloor / after.reference, after.keptBare, after.bare);
    // The goal: the game's frame at most 0.75 x the best same-geometry submission of before, both
    // measured in this run.
    const double ratio = after.game / after.reference;
    std::printf("GOAL frame.swarm | full-swarm frame vs vertex arrays, front quads (same run, median of %d "
                "interleaved rounds) | %.2f ms | limit 0.75 x %.2f ms | ratio %.2f | %s\n",
                kRounds, after.game, after.reference, ratio, ratio <= kMostOfReference ? "met" : "NOT MET");
}
} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "quick") {
        quick = true;
        kRounds = 10;
    }
    return runCountedOnWorldRig(1280, 720, measure);
}
