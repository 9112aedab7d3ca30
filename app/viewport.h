// The logical drawing area and the 2D convention every screen draws in.
//
// After begin2D a 2D point (u, v) is submitted as the vertex (0, u, v): u runs from 0 at the left edge
// to width at the right, v from 0 at the bottom to height at the top. The first coordinate is depth
// (keep it within -10..10); with depth testing off, later drawing covers earlier drawing.
#pragma once

// A point in model space, where the 2D convention puts what the screen shows.
struct ModelPoint {
    float x, y, z;
};

// The model-space point for the screen point (u, v): depth 0, then u and v.
constexpr ModelPoint modelPoint2D(float u, float v) {
    return {0.0f, u, v};
}

// Submits the screen point (u, v) as a vertex, between glBegin and glEnd, after begin2D.
void vertex2D(float u, float v);

class Viewport {
public:
    float width = 1.0f;
    float height = 1.0f;

    // Loads the orthographic projection over width x height and the model-view rotation that turns the
    // Y-Z plane to face the screen; disables depth testing and fog.
    void begin2D() const;
    // One quad over the whole logical area in the current colour, after begin2D: how a screen clears.
    void fillArea() const;
    // The whole window in one opaque colour by clearing it: the pixels fillArea paints in that colour,
    // at a fraction of its cost on a software renderer. Leaves the current colour alone.
    void clearOpaque(float r, float g, float b) const;
};
