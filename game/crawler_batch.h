// CrawlerBatch: the bodies of every crawler of a frame, gathered into one array of triangles and drawn
// with a single call. A software renderer spends most of a full-swarm frame on the bodies' triangles
// one by one, so each body goes out as few triangles as give exactly its picture: wherever a segment
// is a plain band between two diamonds, the band and the parts of the diamonds it leaves uncovered,
// instead of the four quads per segment (half of them facing away) that describe the body.
#pragma once

#include <cstddef>
#include <list>
#include <vector>

#include "game/crawler.h"

class CrawlerBatch {
public:
    // The most corners one draw call hands the GL, a whole number of triangles: the browser's GL
    // emulation copies each call's vertices through a buffer of 2 MiB and fails beyond it (a full swarm
    // needs several times that), and numbers the corners in 16 bits.
    static constexpr size_t kMostVerticesPerCall = 3 * 21845;

    // One corner: the position as the 2D drawing convention submits it (modelPoint2D), and its colour.
    struct Vertex {
        float x, y, z;
        float r, g, b;
    };

    // Draws the bodies of all crawlers in list order, black for those that have faded; c is the cell
    // size, tint the World's current tint.
    void draw(const std::list<Crawler*>& crawlers, float c, const float tint[3]);
    // The gathering half of draw alone: the triangles, without handing them to the GL.
    void gather(const std::list<Crawler*>& crawlers, float c, const float tint[3]);

    // Gathering, used by Crawler::draw: one body's points in cells, head first, with the half-widths of
    // kCrawlerHalfWidth, in one colour.
    void addBody(const float px[kCrawlerBodyPoints], const float py[kCrawlerBodyPoints], float c,
                 const float rgb[3]);

    // The triangles gathered by the last draw, three corners each, counter-clockwise.
    const Vertex* vertices() const { return vertices_.data(); }
    size_t vertexCount() const { return count_; }
    // How many of the last draw's segments were not plain bands and went out as the quads' own
    // triangles.
    size_t quadSegments() const { return quadSegments_; }

    // Whether the triangle a, b, c can show any pixel with back faces culled: false only when it faces
    // away by more than the GL's rounding could reverse.
    static bool mayFaceViewer(const float a[2], const float b[2], const float c[2]);

private:
    void addTriangle(const float a[2], const float b[2], const float c[2]);

    std::vector<Vertex> vertices_;
    size_t count_ = 0;
    size_t quadSegments_ = 0;
    float r_ = 0.0f;
    float g_ = 0.0f;
    float b_ = 0.0f;
};
