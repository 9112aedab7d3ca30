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

inline float manhattan(const float a[2], const float b[2]) {
    return std::fabs(b[0] - a[0]) + std::fabs(b[1] - a[1]);
}
} // namespace

bool CrawlerBatch::mayFaceViewer(const float a[2], const float b[2], const float c[2]) {
    // The GL snaps corners to 1/256 of a pixel before it decides which way a triangle faces, which can
    // move twice the area by up to about the perimeter / 90 square pixels. Only triangles facing away
    // by well beyond that (perimeter / 32) are taken as culled; anything closer is left to the GL, so
    // the picture is the same as when every quad is submitted.
    const float perimeter = manhattan(a, b) + manhattan(b, c) + manhattan(c, a);
    return doubleArea(a, b, c) > -perimeter / 32.0f;
}

void CrawlerBatch::addTriangle(const float a[2], const float b[2], const float c[2]) {
    if (!mayFaceViewer(a, b, c)) {
        return;
    }
    if (count_ + 3 > vertices_.size()) {
        // Only a growing swarm gets here; a steady one reuses the space of the frame before.
        vertices_.resize(vertices_.size() * 2 + 3 * 256);
    }
    Vertex* v = vertices_.data() + count_;
    v[0] = {0.0f, a[0], a[1], r_, g_, b_};
    v[1] = {0.0f, b[0], b[1], r_, g_, b_};
    v[2] = {0.0f, c[0], c[1], r_, g_, b_};
    count_ += 3;
}

void CrawlerBatch::addQuad(const float q[4][2]) {
    // Split as the GL splits a quad, so that the two halves cover exactly the pixels the quad would.
    addTriangle(q[0], q[1], q[3]);
    addTriangle(q[1], q[2], q[3]);
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
    // In calls of whole triangles, in order: the same pixels as one call.
    for (size_t first = 0; first < count_; first += kMostVerticesPerCall) {
        const size_t count = count_ - first < kMostVerticesPerCall ? count_ - first : kMostVerticesPerCall;
        glVertexPointer(3, GL_FLOAT, sizeof(Vertex), &vertices_[first].x);
        glColorPointer(3, GL_FLOAT, sizeof(Vertex), &vertices_[first].r);
        glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(count));
    }
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}
