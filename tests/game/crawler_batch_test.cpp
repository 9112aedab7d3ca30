// The crawler batch: which quads it may leave out, and that a whole swarm drawn through it gives exactly
// the pixels of drawing every quad one vertex at a time, as the bodies were first drawn.
#include <gtest/gtest.h>

#include <SDL/SDL_opengl.h>
#include <algorithm>
#include <cmath>
#include <list>
#include <vector>

#include "app/random.h"
#include "app/viewport.h"
#include "game/crawler.h"
#include "game/crawler_batch.h"
#include "render/render_state.h"
#include "tests/support/gl_test_context.h"

namespace {
const int kWidth = 1280;
const int kHeight = 720;
const float kCell = kHeight / 21.0f;

// The bodies as they were drawn before the batch existed: every quad of every segment in immediate
// mode, the colour set per segment. The picture the batch must reproduce.
float referenceCell = kCell;
void referenceVertex(float u, float v) {
    vertex2D(u * referenceCell, v * referenceCell);
}

void drawReference(const std::list<Crawler*>& crawlers, const float tint[3], float cell = kCell) {
    referenceCell = cell;
    setFlatColour(0.0f, 0.0f, 0.0f, 1.0f);
    glBegin(GL_QUADS);
    for (const Crawler* k : crawlers) {
        float x[kCrawlerBodyPoints], y[kCrawlerBodyPoints];
        k->bodyPoints(x, y);
        for (int i = 0; i + 1 < kCrawlerBodyPoints; ++i) {
            const float px = x[i], py = y[i], wp = kCrawlerHalfWidth[i];
            const float qx = x[i + 1], qy = y[i + 1], wq = kCrawlerHalfWidth[i + 1];
            if (k->age < 5.0f) {
                const float fade = std::min(1.0f, (5.0f - k->age) / 5.0f);
                glColor3f(tint[0] * fade, tint[1] * fade, tint[2] * fade);
            }
            referenceVertex(px, py + wp), referenceVertex(qx, qy + wq), referenceVertex(qx + wq, qy),
                referenceVertex(px + wp, py);
            referenceVertex(px + wp, py), referenceVertex(qx + wq, qy), referenceVertex(qx, qy - wq),
                referenceVertex(px, py - wp);
            referenceVertex(px, py - wp), referenceVertex(qx, qy - wq), referenceVertex(qx - wq, qy),
                referenceVertex(px - wp, py);
            referenceVertex(px - wp, py), referenceVertex(qx - wq, qy), referenceVertex(qx, qy + wq),
                referenceVertex(px, py + wp);
            if (k->age < 6.0f) {
                glColor3f(0.0f, 0.0f, 0.0f);
            }
        }
    }
    glEnd();
}

// A fixed swarm: five rooms' worth of crawlers born a few frames apart, so that the list holds young
// tinted ones, fading ones and black ones, crowded around their doors and overlapping, and some that
// have swum off the left edge of the window.
std::list<Crawler*> fixedSwarm() {
    seedRandomWith(21);
    std::list<Crawler*> swarm;
    for (int frame = 0; frame < 1500; ++frame) {
        if (frame % 2 == 0) {
            const int room = (frame / 2) % 5;
            const float homeX = room == 2 ? -3.0f : 4.0f + 2.0f * room;
            swarm.push_front(new Crawler(frame % 7 == 0 ? 9999.0f : 0.0f, homeX, 4.0f * room + 3.0f));
        }
        for (Crawler* crawler : swarm) {
            crawler->update(1.0f / 60.0f);
        }
    }
    return swarm;
}

std::vector<uint8_t> readWindow() {
    std::vector<uint8_t> pixels(static_cast<size_t>(kWidth) * kHeight * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

long differingPixels(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    long count = 0;
    for (size_t i = 0; i + 3 < a.size(); i += 4) {
        if (a[i] != b[i] || a[i + 1] != b[i + 1] || a[i + 2] != b[i + 2]) {
            ++count;
        }
    }
    return count;
}

// A grey backdrop, so that black bodies show, and the field's shift as the World applies it.
void beginFrame(const Viewport& viewport) {
    viewport.begin2D();
    glClearColor(0.5f, 0.5f, 0.5f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glTranslatef(0.0f, 640.0f - 7.0f * kCell, 0.0f);
}
// The swarm's pixels drawn one vertex at a time, as the bodies were first drawn.
std::vector<uint8_t> referencePicture(const Viewport& viewport, const std::list<Crawler*>& swarm,
                                      const float tint[3], float cell = kCell) {
    beginFrame(viewport);
    drawReference(swarm, tint, cell);
    glFinish();
    return readWindow();
}

// The swarm's pixels drawn through the batch.
std::vector<uint8_t> batchedPicture(CrawlerBatch& batch, const Viewport& viewport,
                                    const std::list<Crawler*>& swarm, const float tint[3], float cell = kCell) {
    beginFrame(viewport);
    setFlatColour(0.0f, 0.0f, 0.0f, 1.0f);
    batch.draw(swarm, cell, tint);
    glFinish();
    return readWindow();
}
} // namespace

TEST(CrawlerBatch, LeavesOutOnlyTrianglesThatClearlyFaceAway) {
    const float a[2] = {0, 0}, b[2] = {10, 0}, c[2] = {10, 10};
    EXPECT_TRUE(CrawlerBatch::mayFaceViewer(a, b, c));
    EXPECT_FALSE(CrawlerBatch::mayFaceViewer(a, c, b));
    // A line has no area, but rounding could give it some: it is left to the GL. A point cannot show.
    const float mid[2] = {5, 5};
    EXPECT_TRUE(CrawlerBatch::mayFaceViewer(a, mid, c));
    EXPECT_FALSE(CrawlerBatch::mayFaceViewer(mid, mid, mid));
    // Two corners at one point (a body's head and tail): no area whatever the rounding, in any order.
    EXPECT_FALSE(CrawlerBatch::mayFaceViewer(a, a, c));
    EXPECT_FALSE(CrawlerBatch::mayFaceViewer(a, c, c));
    EXPECT_FALSE(CrawlerBatch::mayFaceViewer(c, a, c));
    // A sliver facing away by less than the GL's own rounding is kept, a thin one clearly away is not.
    const float far[2] = {20, 0}, justAbove[2] = {20, 0.01f}, above[2] = {20, 2};
    EXPECT_TRUE(CrawlerBatch::mayFaceViewer(a, justAbove, far));
    EXPECT_FALSE(CrawlerBatch::mayFaceViewer(a, above, far));
}

TEST(CrawlerBatch, AFixedSwarmLooksExactlyAsWhenEveryQuadWasDrawnOneVertexAtATime) {
    REQUIRE_GL_WINDOW(kWidth, kHeight);
    Viewport viewport;
    viewport.width = kWidth;
    viewport.height = kHeight;
    std::list<Crawler*> swarm = fixedSwarm();
    const float tint[3] = {0.9f, 0.6f, 0.3f};
    long young = 0;
    for (const Crawler* crawler : swarm) {
        young += crawler->age < 5.0f ? 1 : 0;
    }
    ASSERT_GT(young, 20);
    ASSERT_LT(young, static_cast<long>(swarm.size()) - 20) << "black crawlers too";

    const std::vector<uint8_t> reference = referencePicture(viewport, swarm, tint);
    CrawlerBatch batch;
    const std::vector<uint8_t> batched = batchedPicture(batch, viewport, swarm, tint);
    // The lit avatars drawn after the bodies need their colours interpolated again.
    GLint shading = 0;
    glGetIntegerv(GL_SHADE_MODEL, &shading);
    EXPECT_EQ(shading, GL_SMOOTH);

    // The comparison itself sees a single changed pixel.
    std::vector<uint8_t> touched = reference;
    touched[4 * (kWidth * 300 + 600) + 1] ^= 1;
    ASSERT_EQ(differingPixels(reference, touched), 1);

    const long covered = kWidth * kHeight - countPixels(0, 0, kWidth, kHeight, Rgba{128, 128, 128, 255}, 1);
    EXPECT_GT(covered, 20000) << "the swarm covers a good part of the window";
    EXPECT_EQ(differingPixels(reference, batched), 0);
    // A body's 24 quads make 48 triangles, about half of them facing the viewer; most bodies go out as
    // six bands and a few diamond halves instead.
    EXPECT_LT(batch.vertexCount(), swarm.size() * 16 * 3);
    EXPECT_LT(batch.quadSegments(), swarm.size() * 2) << "most segments are plain bands";

    // Drawn again from the same state, the batch reuses its space and gives the same picture.
    EXPECT_EQ(differingPixels(reference, batchedPicture(batch, viewport, swarm, tint)), 0);
    for (Crawler* crawler : swarm) {
        delete crawler;
    }
}

TEST(CrawlerBatch, ASwarmTooBigForOneCallLooksAsWhenDrawnInOne) {
    REQUIRE_GL_WINDOW(kWidth, kHeight);
    Viewport viewport;
    viewport.width = kWidth;
    viewport.height = kHeight;
    // Five copies of the fixed swarm, each moved along by a cell so that the copies overlap one another:
    // later bodies must still cover earlier ones across the joins between calls.
    std::list<Crawler*> swarm;
    for (int copy = 0; copy < 5; ++copy) {
        std::list<Crawler*> part = fixedSwarm();
        for (Crawler* crawler : part) {
            crawler->x += 1.0f * copy;
            for (float& x : crawler->trailX) {
                x += 1.0f * copy;
            }
        }
        swarm.splice(swarm.end(), part);
    }
    const float tint[3] = {0.3f, 0.9f, 0.6f};

    const std::vector<uint8_t> reference = referencePicture(viewport, swarm, tint);
    CrawlerBatch batch;
    const std::vector<uint8_t> batched = batchedPicture(batch, viewport, swarm, tint);
    ASSERT_GT(batch.vertexCount(), 2 * CrawlerBatch::kMostVerticesPerCall) << "three calls or more";
    EXPECT_EQ(differingPixels(reference, batched), 0);
    for (Crawler* crawler : swarm) {
        delete crawler;
    }
}

// Bodies the swimming rarely makes: folded back on themselves, bent at every point, points on top of
// one another, links from nothing to stretched, every direction; at the game's cell size and enlarged
// until a body is hundreds of pixels long, where any outline the batch draws differently would show.
TEST(CrawlerBatch, BentFoldedAndCrumpledBodiesLookAsTheirQuadsAtAnySize) {
    REQUIRE_GL_WINDOW(kWidth, kHeight);
    Viewport viewport;
    viewport.width = kWidth;
    viewport.height = kHeight;
    const float tint[3] = {0.2f, 0.7f, 0.9f};
    const float cells[3] = {kCell, 4.0f * kCell, 13.0f * kCell};
    seedRandomWith(5);
    for (const float cell : cells) {
        std::list<Crawler*> swarm;
        const int bodies = cell == kCell ? 1500 : cell < 100.0f ? 120 : 12;
        const float across = 0.5f * kWidth / cell;
        for (int n = 0; n < bodies; ++n) {
            Crawler* k = new Crawler(0.0f, 0.0f, 0.0f);
            k->x = -across * 0.3f + 1.2f * across * randomUnit();
            k->y = 0.5f * kHeight / cell * (0.1f + 0.8f * randomUnit());
            k->age = -1.0f + 8.0f * randomUnit();
            float x = k->x, y = k->y, heading = 6.2831853f * randomUnit();
            for (int i = 0; i < kCrawlerTrail; ++i) {
                const float kind = randomUnit();
                // A quarter of the links nothing at all, the rest any length up to a stretched one.
                const float length = kind < 0.25f ? 0.0f : 0.4f * randomUnit();
                heading += (kind < 0.6f ? 0.5f : 3.2f) * (randomUnit() - 0.5f);
                x += length * std::cos(heading);
                y += length * std::sin(heading);
                k->trailX[i] = x;
                k->trailY[i] = y;
            }
            swarm.push_back(k);
        }
        const std::vector<uint8_t> reference = referencePicture(viewport, swarm, tint, cell);
        CrawlerBatch batch;
        const std::vector<uint8_t> batched = batchedPicture(batch, viewport, swarm, tint, cell);
        const long covered =
            kWidth * kHeight - countPixels(0, 0, kWidth, kHeight, Rgba{128, 128, 128, 255}, 1);
        EXPECT_GT(covered, 10000) << "cell " << cell;
        EXPECT_EQ(differingPixels(reference, batched), 0) << "cell " << cell << ", " << covered << " covered";
        for (Crawler* crawler : swarm) {
            delete crawler;
        }
    }
}
