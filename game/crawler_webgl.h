// The browser edition's own way to draw the crawler batch: the gathered triangles go to WebGL with one
// program and buffer of their own, past the fixed-function emulation, which would copy them through
// its 2 MiB buffer in calls of 65,535 corners and set its whole state up again around each. The desktop never
// calls it; the file compiles to nothing there.
#pragma once

#include <cstddef>

// Draws count corners of CrawlerBatch::Vertex (x, y, z, r, g, b as floats, three to a triangle) under
// the GL's current matrices, as the emulation would, and leaves the GL as the emulation believes it to
// be. False when the page's WebGL could not build the program (or the test page asked for the
// emulation's drawing): the caller then draws the corners through the emulation.
bool drawCrawlerCornersWebgl(const float* corners, size_t count);
