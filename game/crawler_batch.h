// CrawlerBatch: the vertices of every crawler body of a frame, gathered into one array and drawn with a
// single call. A software renderer spends most of a full-swarm frame taking vertices in, so quads that
// face away from the viewer (which the GL would cull anyway) are left out before they reach it.
#pragma once

#include <cstddef>
#include <list>
#include <vector>

class Crawler;

class CrawlerBatch {
public:
    // The most corners one draw call hands the GL, a whole number of quads: the browser's GL emulation
    // copies each call's vertices through a buffer of 2 MiB and fails beyond it (a full swarm needs
    // several times that), and numbers the corners of its quads in 16 bits.
    static constexpr size_t kMostVerticesPerCall = 4 * 16384;

    // One corner: the position as the 2D drawing convention submits it (0, u, v), and its colour.
    struct Vertex {
        float x, y, z;
        float r, g, b;
    };

    // Draws the bodies of all crawlers in list order as one batch of quads, black
    // for those that have faded; c is the cell size, tint the World's current tint.
    void draw(const std::list<Crawler*>& crawlers, float c, const float tint[3]);

    // Gathering, used by Crawler::draw: the colour of the following quads, then one quad's corners in
    // window units, counter-clockwise when it faces the viewer.
    void setColour(float r, float g, float b) {
        r_ = r;
        g_ = g;
        b_ = b;
    }
    void addQuad(const float corners[4][2]);

    // The corners gathered by the last draw (every kept quad, four corners each).
    const Vertex* vertices() const { return vertices_.data(); }
    size_t vertexCount() const { return count_; }

    // Whether the triangle a, b, c can show any pixel with back faces culled: false only when it faces
    // away by more than the GL's rounding could reverse.
    static bool mayFaceViewer(const float a[2], const float b[2], const float c[2]);

private:
    std::vector<Vertex> vertices_;
    size_t count_ = 0;
    float r_ = 0.0f;
    float g_ = 0.0f;
    float b_ = 0.0f;
};
