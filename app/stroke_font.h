// StrokeFont: text without any texture or font file. Every printable ASCII character is a short list of
// straight strokes in a unit cell (x 0..1 left to right, y 0 at the baseline to 1 at the top), each
// stroke drawn as filled quads in the 2D convention of the Viewport. The caller places and scales the
// cell with the model-view matrix and sets the colour.
#pragma once

#include <vector>

struct Stroke {
    float x1, y1, x2, y2;
};

// Half the width of a stroke, in cell units.
constexpr float kStrokeHalfWidth = 0.08f;

// One segment, capped at both ends; a stroke whose ends coincide is a dot.
void drawStroke(float x1, float y1, float x2, float y2);

// The glyph for a character code (only its low 8 bits count). Lower case draws as upper case; every
// code outside the printable ASCII range draws the fallback glyph, an outline of corner ticks.
void drawGlyph(int code);

// The strokes drawGlyph draws for a code, in drawing order.
const std::vector<Stroke>& glyphStrokes(int code);
