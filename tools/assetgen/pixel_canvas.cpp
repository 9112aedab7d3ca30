// Shape tests and the floating-point canvas of the asset generator.
#include "tools/assetgen/pixel_canvas.h"

#include <algorithm>
#include <cmath>

Colour hexColour(unsigned rgb) {
    return Colour{((rgb >> 16) & 255) / 255.0f, ((rgb >> 8) & 255) / 255.0f, (rgb & 255) / 255.0f, 1.0f};
}

Colour withAlpha(Colour c, float alpha) {
    c.a = alpha;
    return c;
}

Colour mixColour(Colour a, Colour b, float t) {
    return Colour{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

Colour shade(Colour c, float f) {
    if (f <= 1.0f) {
        return Colour{c.r * f, c.g * f, c.b * f, c.a};
    }
    const float t = std::min(1.0f, f - 1.0f);
    return Colour{c.r + (1 - c.r) * t, c.g + (1 - c.g) * t, c.b + (1 - c.b) * t, c.a};
}

Shape discShape(float cu, float cv, float radius) {
    return [=](float u, float v) { return (u - cu) * (u - cu) + (v - cv) * (v - cv) <= radius * radius; };
}

Shape ellipseShape(float cu, float cv, float ru, float rv) {
    return [=](float u, float v) {
        const float du = (u - cu) / ru, dv = (v - cv) / rv;
        return du * du + dv * dv <= 1.0f;
    };
}

Shape boxShape(float u0, float v0, float u1, float v1) {
    return [=](float u, float v) { return u >= u0 && u < u1 && v >= v0 && v < v1; };
}

Shape roundBoxShape(float u0, float v0, float u1, float v1, float radius) {
    return [=](float u, float v) {
        if (u < u0 || u >= u1 || v < v0 || v >= v1) {
            return false;
        }
        const float cu = std::clamp(u, u0 + radius, u1 - radius);
        const float cv = std::clamp(v, v0 + radius, v1 - radius);
        return (u - cu) * (u - cu) + (v - cv) * (v - cv) <= radius * radius;
    };
}

Shape triangleShape(float u0, float v0, float u1, float v1, float u2, float v2) {
    return [=](float u, float v) {
        const float d0 = (u1 - u0) * (v - v0) - (v1 - v0) * (u - u0);
        const float d1 = (u2 - u1) * (v - v1) - (v2 - v1) * (u - u1);
        const float d2 = (u0 - u2) * (v - v2) - (v0 - v2) * (u - u2);
        const bool anyNegative = d0 < 0 || d1 < 0 || d2 < 0;
        const bool anyPositive = d0 > 0 || d1 > 0 || d2 > 0;
        return !(anyNegative && anyPositive);
    };
}

Shape lineShape(float u0, float v0, float u1, float v1, float halfWidth) {
    return [=](float u, float v) {
        const float du = u1 - u0, dv = v1 - v0;
        const float lengthSquared = du * du + dv * dv;
        float t = lengthSquared > 0 ? ((u - u0) * du + (v - v0) * dv) / lengthSquared : 0.0f;
        t = std::clamp(t, 0.0f, 1.0f);
        const float pu = u0 + t * du - u, pv = v0 + t * dv - v;
        return pu * pu + pv * pv <= halfWidth * halfWidth;
    };
}

Shape ringShape(float cu, float cv, float inner, float outer) {
    return [=](float u, float v) {
        const float d = (u - cu) * (u - cu) + (v - cv) * (v - cv);
        return d <= outer * outer && d >= inner * inner;
    };
}

Shape unionShape(Shape a, Shape b) {
    return [=](float u, float v) { return a(u, v) || b(u, v); };
}

Shape minusShape(Shape a, Shape b) {
    return [=](float u, float v) { return a(u, v) && !b(u, v); };
}

PixelCanvas::PixelCanvas(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width * height)) {}

void PixelCanvas::set(int x, int y, Colour c) {
    if (x >= 0 && y >= 0 && x < width_ && y < height_) {
        pixels_[y * width_ + x] = c;
    }
}

void PixelCanvas::blend(int x, int y, Colour c) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || c.a <= 0) {
        return;
    }
    Colour& d = pixels_[y * width_ + x];
    const float outAlpha = c.a + d.a * (1 - c.a);
    if (outAlpha <= 0) {
        d = Colour{};
        return;
    }
    d.r = (c.r * c.a + d.r * d.a * (1 - c.a)) / outAlpha;
    d.g = (c.g * c.a + d.g * d.a * (1 - c.a)) / outAlpha;
    d.b = (c.b * c.a + d.b * d.a * (1 - c.a)) / outAlpha;
    d.a = outAlpha;
}

void PixelCanvas::fill(Colour c) {
    std::fill(pixels_.begin(), pixels_.end(), c);
}

void PixelCanvas::fillRect(int x0, int y0, int x1, int y1, Colour c) {
    for (int y = std::max(0, y0); y < std::min(height_, y1); ++y) {
        for (int x = std::max(0, x0); x < std::min(width_, x1); ++x) {
            blend(x, y, c);
        }
    }
}

void PixelCanvas::paint(const Shape& shape, Colour c) {
    paintWith(shape, [c](float, float) { return c; });
}

void PixelCanvas::paintWith(const Shape& shape, const std::function<Colour(float u, float v)>& colour) {
    const int n = samples_;
    const float step = 1.0f / n;
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            int inside = 0;
            float su = 0, sv = 0;
            for (int j = 0; j < n; ++j) {
                for (int i = 0; i < n; ++i) {
                    const float u = (x + (i + 0.5f) * step) / width_;
                    const float v = (y + (j + 0.5f) * step) / height_;
                    if (shape(u, v)) {
                        ++inside;
                        su += u;
                        sv += v;
                    }
                }
            }
            if (inside == 0) {
                continue;
            }
            Colour c = colour(su / inside, sv / inside);
            c.a *= static_cast<float>(inside) / (n * n);
            blend(x, y, c);
        }
    }
}

void PixelCanvas::blit(const PixelCanvas& src, int x, int y, int scale) {
    for (int sy = 0; sy < src.height_; ++sy) {
        for (int sx = 0; sx < src.width_; ++sx) {
            const Colour c = src.at(sx, sy);
            for (int j = 0; j < scale; ++j) {
                for (int i = 0; i < scale; ++i) {
                    blend(x + sx * scale + i, y + sy * scale + j, c);
                }
            }
        }
    }
}

PixelCanvas PixelCanvas::mirrored() const {
    PixelCanvas out(width_, height_);
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            out.set(width_ - 1 - x, y, at(x, y));
        }
    }
    return out;
}

void PixelCanvas::addOutline(Colour outline) {
    const std::vector<Colour> before = pixels_;
    auto solid = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < width_ && y < height_ && before[y * width_ + x].a > 0.5f;
    };
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            if (!solid(x, y) && (solid(x - 1, y) || solid(x + 1, y) || solid(x, y - 1) || solid(x, y + 1))) {
                Colour c = outline;
                c.a = 1.0f;
                Colour under = before[y * width_ + x];
                // A soft edge already there keeps its coverage on top of the outline.
                set(x, y, mixColour(c, withAlpha(under, 1.0f), under.a));
            }
        }
    }
}

bool PixelCanvas::hasTransparency() const {
    return std::any_of(pixels_.begin(), pixels_.end(),
                       [](const Colour& c) { return c.a < 1.0f - 0.5f / 255; });
}

void PixelCanvas::bleedIntoTransparent() {
    std::vector<bool> known(pixels_.size());
    for (size_t i = 0; i < pixels_.size(); ++i) {
        known[i] = pixels_[i].a > 0;
    }
    // Each pass colours the unknown pixels next to known ones; a few passes cover a small tile.
    for (int pass = 0; pass < 6; ++pass) {
        std::vector<bool> nextKnown = known;
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_; ++x) {
                if (known[y * width_ + x]) {
                    continue;
                }
                float r = 0, g = 0, b = 0, weight = 0;
                for (int dy = -1; dy <= 1; ++dy) {
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int nx = x + dx, ny = y + dy;
                        if (nx < 0 || ny < 0 || nx >= width_ || ny >= height_ || !known[ny * width_ + nx]) {
                            continue;
                        }
                        const Colour n = at(nx, ny);
                        r += n.r;
                        g += n.g;
                        b += n.b;
                        weight += 1;
                    }
                }
                if (weight > 0) {
                    pixels_[y * width_ + x] = Colour{r / weight, g / weight, b / weight, 0.0f};
                    nextKnown[y * width_ + x] = true;
                }
            }
        }
        known = nextKnown;
    }
}
