// A small RGBA picture in floating point, and the shape painting the tiles, items and figures are
// drawn with. Shapes are given in cell units: u runs 0..1 left to right, v runs 0..1 from the top row
// (which the game shows at the top of the cell) to the bottom.
#pragma once

#include <functional>
#include <vector>

struct Colour {
    float r = 0, g = 0, b = 0, a = 0;
};

// An opaque colour from 0xRRGGBB.
Colour hexColour(unsigned rgb);
Colour withAlpha(Colour c, float alpha);
// Straight interpolation, t = 0 gives a.
Colour mixColour(Colour a, Colour b, float t);
// Multiplies the colour channels (not alpha) by f: f < 1 darkens, f > 1 lightens.
Colour shade(Colour c, float f);

// A point test in cell units.
using Shape = std::function<bool(float u, float v)>;

Shape discShape(float cu, float cv, float radius);
Shape ellipseShape(float cu, float cv, float ru, float rv);
Shape boxShape(float u0, float v0, float u1, float v1);
Shape roundBoxShape(float u0, float v0, float u1, float v1, float radius);
Shape triangleShape(float u0, float v0, float u1, float v1, float u2, float v2);
// A thick segment with round ends.
Shape lineShape(float u0, float v0, float u1, float v1, float halfWidth);
Shape ringShape(float cu, float cv, float inner, float outer);
Shape unionShape(Shape a, Shape b);
Shape minusShape(Shape a, Shape b);

class PixelCanvas {
public:
    PixelCanvas(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    Colour at(int x, int y) const { return pixels_[y * width_ + x]; }
    void set(int x, int y, Colour c);
    // Alpha-over composition of c onto the pixel; out-of-range pixels are ignored.
    void blend(int x, int y, Colour c);
    void fill(Colour c);
    // Pixel rectangle [x0, x1) x [y0, y1).
    void fillRect(int x0, int y0, int x1, int y1, Colour c);

    // Samples per pixel side used by paint: 1 gives hard pixel edges, 4 gives smooth ones.
    void setSmoothing(int samplesPerSide) { samples_ = samplesPerSide; }
    // Paints c over the part of the canvas covered by the shape (in cell units).
    void paint(const Shape& shape, Colour c);
    // Paints a colour that varies over the shape.
    void paintWith(const Shape& shape, const std::function<Colour(float u, float v)>& colour);

    // Copies src scaled up by an integer factor, composed over this canvas.
    void blit(const PixelCanvas& src, int x, int y, int scale);
    // Mirrors left to right.
    PixelCanvas mirrored() const;

    // Draws a one-pixel line of colour round every mostly opaque area, on the transparent side.
    void addOutline(Colour outline);

    bool hasTransparency() const;
    // Gives fully transparent pixels the colour of their opaque neighbours, so smooth filtering does not
    // draw dark fringes around cut-out shapes.
    void bleedIntoTransparent();

private:
    int width_;
    int height_;
    int samples_ = 1;
    std::vector<Colour> pixels_;
};
