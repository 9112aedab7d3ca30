// Gathering and drawing the crawler bodies of a frame.
//
// The body as the crawler describes it: a diamond on every body point (corners top, right, bottom,
// left, clockwise) and, for each segment from P to Q, four quads (P_k, Q_k, Q_k+1, P_k+1), one per
// diamond edge k, which the GL splits into the triangles (0, 1, 3) and (1, 2, 3) and culls one by one.
// What that shows of one segment always holds P's diamond less Q's, and never reaches past the convex
// hull of the two diamonds; so every diamond of the trail shows, since the tail is a point. Where the two
// quads behind the segment (sweeping the diamond edges that face back) are plain counter-clockwise
// quads, what they show together with the two diamonds is exactly the band between the diamonds' side
// corners (the corners furthest out on either side of the segment) and the two diamonds. So such a
// segment goes out as its band, two triangles, and each diamond only as the halves of it that no band
// beside it already covers. Every edge of the new triangles on the body's outline is an edge of one of
// the quads' triangles, between the same corners, so the GL draws the same pixels.
#include "game/crawler_batch.h"

#include <SDL/SDL_opengl.h>
#include <cmath>

#include "app/viewport.h"
#include "game/crawler_webgl.h"

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

// Whether the triangle faces the viewer by more than the GL's rounding could reverse: the mirror of
// CrawlerBatch::mayFaceViewer's margin.
bool clearlyFacesViewer(const float a[2], const float b[2], const float c[2]) {
    const float perimeter = manhattan(a, b) + manhattan(b, c) + manhattan(c, a);
    return doubleArea(a, b, c) > perimeter / 32.0f;
}

// Corner k of a diamond, clockwise from the top: the unit offsets.
const int kCornerU[4] = {0, 1, 0, -1};
const int kCornerV[4] = {1, 0, -1, 0};

// A band: the convex polygon of a segment's side corners, counter-clockwise, three corners when one
// end is a point.
struct Band {
    bool plain = false;
    int sideLeft = 0; // the corner the band's left side runs through
    int count = 0;
    float corners[4][2];

    bool holds(const float p[2]) const {
        for (int i = 0; i + 1 < count; ++i) {
            if (doubleArea(corners[i], corners[i + 1], p) < 0.0f) {
                return false;
            }
        }
        return doubleArea(corners[count - 1], corners[0], p) >= 0.0f;
    }
    bool holds(const float a[2], const float b[2], const float c[2]) const {
        return plain && holds(a) && holds(b) && holds(c);
    }
};

// Whether the quad's triangles that can show anything (corners apart) all clearly face the viewer, and
// one at least does.
bool plainFrontQuad(const float* q0, const float* q1, const float* q2, const float* q3) {
    bool any = false;
    const float* triangles[2][3] = {{q0, q1, q3}, {q1, q2, q3}};
    for (const auto& t : triangles) {
        if (sameCorner(t[0], t[1]) || sameCorner(t[1], t[2]) || sameCorner(t[2], t[0])) {
            continue;
        }
        if (!clearlyFacesViewer(t[0], t[1], t[2])) {
            return false;
        }
        any = true;
    }
    return any;
}

// The corner k whose line from P's corner k to Q's corner k has both diamonds on one side (the left
// when side is 1, the right when -1): the hull's edge on that side. -1 when there is none (one diamond
// holds the other). The diamonds are alike but for their size, so a line through two corners k touches
// both exactly when k is the corner furthest out along the line's normal.
int sideCorner(const float p[4][2], const float q[4][2], float side) {
    for (int k = 0; k < 4; ++k) {
        const float eu = q[k][0] - p[k][0];
        const float ev = q[k][1] - p[k][1];
        const float nu = -ev * side;
        const float nv = eu * side;
        const float reach = nu * static_cast<float>(kCornerU[k]) + nv * static_cast<float>(kCornerV[k]);
        bool furthest = eu != 0.0f || ev != 0.0f;
        for (int j = 0; j < 4 && furthest; ++j) {
            furthest = nu * static_cast<float>(kCornerU[j]) + nv * static_cast<float>(kCornerV[j]) <= reach;
        }
        if (furthest) {
            return k;
        }
    }
    return -1;
}

// The band of the segment from P to Q (diamond corners in window units), plain when the quads behind it
// (those of the diamond edges from the right side corner round the back to the left one) are plain
// counter-clockwise quads and the band itself is convex.
Band bandOf(const float p[4][2], const float q[4][2]) {
    Band band;
    const int left = sideCorner(p, q, 1.0f);
    const int right = sideCorner(p, q, -1.0f);
    if (left < 0 || right < 0 || left == right) {
        return band;
    }
    // Quad k sweeps the edge from corner k to corner k + 1, clockwise.
    for (int k = right; k != left; k = (k + 1) % 4) {
        const int n = (k + 1) % 4;
        if (!plainFrontQuad(p[k], q[k], q[n], p[n])) {
            return band;
        }
    }
    const float* ring[4] = {p[right], q[right], q[left], p[left]};
    for (const float* corner : ring) {
        if (band.count == 0 || !sameCorner(band.corners[band.count - 1], corner)) {
            band.corners[band.count][0] = corner[0];
            band.corners[band.count][1] = corner[1];
            ++band.count;
        }
    }
    if (band.count == 4 && sameCorner(band.corners[3], band.corners[0])) {
        band.count = 3;
    }
    if (band.count < 3) {
        return band;
    }
    for (int i = 0; i < band.count; ++i) {
        const float* from = band.corners[i];
        const float* at = band.corners[(i + 1) % band.count];
        const float* to = band.corners[(i + 2) % band.count];
        if (!clearlyFacesViewer(from, at, to)) {
            return band;
        }
    }
    band.plain = true;
    band.sideLeft = left;
    return band;
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

void CrawlerBatch::addTriangle(const float a[2], const float b[2], const float c[2]) {
    if (count_ + 3 > vertices_.size()) {
        // Only a growing swarm gets here; a steady one reuses the space of the frame before.
        vertices_.resize(vertices_.size() * 2 + 3 * 1024);
    }
    Vertex* v = vertices_.data() + count_;
    const float* corners[3] = {a, b, c};
    for (int i = 0; i < 3; ++i) {
        // The 2D convention's model point for the corner's screen point.
        const ModelPoint m = modelPoint2D(corners[i][0], corners[i][1]);
        v[i] = {m.x, m.y, m.z, r_, g_, b_};
    }
    count_ += 3;
}

void CrawlerBatch::addBody(const float px[kCrawlerBodyPoints], const float py[kCrawlerBodyPoints], float c,
                           const float rgb[3]) {
    r_ = rgb[0];
    g_ = rgb[1];
    b_ = rgb[2];
    // The diamonds' corners in window units, computed as the quads describe them.
    float corner[kCrawlerBodyPoints][4][2];
    for (int i = 0; i < kCrawlerBodyPoints; ++i) {
        const float x = px[i];
        const float y = py[i];
        const float w = kCrawlerHalfWidth[i];
        corner[i][0][0] = x * c, corner[i][0][1] = (y + w) * c;
        corner[i][1][0] = (x + w) * c, corner[i][1][1] = y * c;
        corner[i][2][0] = x * c, corner[i][2][1] = (y - w) * c;
        corner[i][3][0] = (x - w) * c, corner[i][3][1] = y * c;
    }
    Band bands[kCrawlerBodyPoints - 1];
    for (int s = 0; s + 1 < kCrawlerBodyPoints; ++s) {
        const float(*p)[2] = corner[s];
        const float(*q)[2] = corner[s + 1];
        bands[s] = bandOf(p, q);
        const Band& band = bands[s];
        if (band.plain) {
            addTriangle(band.corners[0], band.corners[1], band.corners[2]);
            if (band.count == 4) {
                addTriangle(band.corners[0], band.corners[2], band.corners[3]);
            }
            continue;
        }
        // Not a plain band: the quads' own triangles, as the GL would make them.
        ++quadSegments_;
        for (int k = 0; k < 4; ++k) {
            const int n = (k + 1) % 4;
            if (mayFaceViewer(p[k], q[k], p[n])) {
                addTriangle(p[k], q[k], p[n]);
            }
            if (mayFaceViewer(q[k], q[n], p[n])) {
                addTriangle(q[k], q[n], p[n]);
            }
        }
    }
    // The diamonds of the trail: each half that neither band beside it covers. A half is split off
    // along the diagonal a band beside it ends on, so that in a straight body both halves are covered.
    for (int i = 1; i + 1 < kCrawlerBodyPoints; ++i) {
        const Band& before = bands[i - 1];
        const Band& after = bands[i];
        const int side = before.plain ? before.sideLeft : after.plain ? after.sideLeft : 0;
        const float(*d)[2] = corner[i];
        const int k = side % 2; // 0: split top to bottom, 1: left to right
        const float* halves[2][3] = {{d[k + 2], d[k + 1], d[k]}, {d[k], d[(k + 3) % 4], d[k + 2]}};
        for (const auto& h : halves) {
            if (!before.holds(h[0], h[1], h[2]) && !after.holds(h[0], h[1], h[2])) {
                addTriangle(h[0], h[1], h[2]);
            }
        }
    }
}

void CrawlerBatch::gather(const std::list<Crawler*>& crawlers, float c, const float tint[3]) {
    count_ = 0;
    quadSegments_ = 0;
    for (const Crawler* crawler : crawlers) {
        crawler->draw(*this, c, tint);
    }
}

void CrawlerBatch::draw(const std::list<Crawler*>& crawlers, float c, const float tint[3]) {
    gather(crawlers, c, tint);
    if (count_ == 0) {
        return;
    }
#ifdef __EMSCRIPTEN__
    // In the browser the bodies go to WebGL themselves, in four calls; the emulation's way below is
    // kept for a page whose WebGL cannot build the program.
    if (drawCrawlerCornersWebgl(&vertices_[0].x, count_)) {
        return;
    }
#endif
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    // Each body has one colour, so the rasterizer need not interpolate it: flat shading gives the same
    // pixels for less work.
    glShadeModel(GL_FLAT);
    // In calls of whole triangles, in order: the same pixels as one call.
    for (size_t first = 0; first < count_; first += kMostVerticesPerCall) {
        const size_t count = count_ - first < kMostVerticesPerCall ? count_ - first : kMostVerticesPerCall;
        glVertexPointer(3, GL_FLOAT, sizeof(Vertex), &vertices_[first].x);
        glColorPointer(3, GL_FLOAT, sizeof(Vertex), &vertices_[first].r);
        glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(count));
    }
    glShadeModel(GL_SMOOTH);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}
