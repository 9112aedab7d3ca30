// Gathering and drawing the crawler bodies of a frame.
#include "game/crawler_batch.h"

#include <SDL/SDL_opengl.h>
#include <cmath>

#include "game/crawler.h"

namespace {
// Twice the signed area of the triangle a, b, c: positive when counter-clockwise (facing the viewer).
inline float doubleArea(const float a[2], const float b[2], const float c[2]) {
    return (b[0] - a[0]) * (c[1] - a[1]) - (b[1] - a[1]) * (c[0] - a[0]);
}

inline bool sameCorner(const float a[2], const float b[2]) {
    return a[0] == b[0] && a[1] == b[1];
}

inline float manhattan(const float a[2], const float b[2]) {
    return std::fabs(b[0] - a[0]) + std::fabs(b[1] - a[1]);
}
} // namespace

bool CrawlerBatch::mayFaceViewer(const float a[2], const float b[2], const float c[2]) {
    // Two corners at one point stay at one point however the GL snaps them, so such a triangle covers
    // no pixel. Every body has eight: its head and its tail are points.
    if (sameCorner(a, b) || sameCorner(b, c) || sameCorner(c, a)) {
        return false;
    }
    // The GL snaps corners to 1/256 of a pixel before it decides which way a triangle faces, which can
    // move twice the area by up to about the perimeter / 90 square pixels. Only triangles facing away
    // by well beyond that (perimeter / 32) are taken as culled; anything closer is left to the GL, so
    // the picture is the same as when every quad is submitted.
    const float perimeter = manhattan(a, b) + manhattan(b, c) + manhattan(c, a);
    return doubleArea(a, b, c) > -perimeter / 32.0f;
}

void CrawlerBatch::addQuad(const float q[4][2]) {
    // The GL splits a quad into these two triangles and culls each on its own; a quad goes in when
    // either may show, and the GL then leaves out its other half exactly as it did for every quad.
    if (!mayFaceViewer(q[0], q[1], q[3]) && !mayFaceViewer(q[1], q[2], q[3])) {
        return;
    }
    if (count_ + 4 > vertices_.size()) {
        // Only a growing swarm gets here; a steady one reuses the space of the frame before.
        vertices_.resize(vertices_.size() * 2 + 4 * 256);
    }
    Vertex* v = vertices_.data() + count_;
    for (int i = 0; i < 4; ++i) {
        v[i] = {0.0f, q[i][0], q[i][1], r_, g_, b_};
    }
    count_ += 4;
}

void CrawlerBatch::draw(const std::list<Crawler*>& crawlers, float c, const float tint[3]) {
    count_ = 0;
    setColour(0.0f, 0.0f, 0.0f);
    for (const Crawler* crawler : crawlers) {
        crawler->draw(*this, c, tint);
    }
    if (count_ == 0) {
        return;
    }
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    // Each quad has one colour, so the rasterizer need not interpolate it: flat shading gives the same
    // pixels for less work.
    glShadeModel(GL_FLAT);
    // In calls of whole quads, in order: the same pixels as one call.
    for (size_t first = 0; first < count_; first += kMostVerticesPerCall) {
        const size_t count = count_ - first < kMostVerticesPerCall ? count_ - first : kMostVerticesPerCall;
        glVertexPointer(3, GL_FLOAT, sizeof(Vertex), &vertices_[first].x);
        glColorPointer(3, GL_FLOAT, sizeof(Vertex), &vertices_[first].r);
        glDrawArrays(GL_QUADS, 0, static_cast<GLsizei>(count));
    }
    glShadeModel(GL_SMOOTH);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}
