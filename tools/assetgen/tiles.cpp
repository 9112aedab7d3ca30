// Floors and walls, drawn pixel by pixel from each room's palette. Rooms 1 to 3 are shown with nearest
// filtering, so their patterns keep to whole pixels; rooms 0 and 4 are smooth and use soft gradients.
#include "tools/assetgen/tiles.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "tools/assetgen/noise.h"
#include "tools/assetgen/room_style.h"

namespace {
using PixelRule = std::function<Colour(int x, int y)>;

void paintPixels(PixelCanvas& canvas, const PixelRule& rule) {
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            canvas.set(x, y, rule(x, y));
        }
    }
}

// A block with a lit top-left rim and a shaded bottom-right rim; (x, y) relative to the block.
Colour bevel(Colour base, Colour light, Colour dark, int x, int y, int w, int h) {
    if (y == 0 || x == 0) {
        return (y == h - 1 || x == w - 1) ? base : light;
    }
    if (y == h - 1 || x == w - 1) {
        return dark;
    }
    return base;
}

// Distance from (x, y) to the segment from a to b, in pixels.
float segmentDistance(float x, float y, const float a[2], const float b[2]) {
    const float du = b[0] - a[0], dv = b[1] - a[1];
    const float t = std::clamp(((x - a[0]) * du + (y - a[1]) * dv) / (du * du + dv * dv), 0.0f, 1.0f);
    const float ex = a[0] + t * du - x, ey = a[1] + t * dv - y;
    return std::sqrt(ex * ex + ey * ey);
}

const float kCrackBranch[2] = {17, 6};

Colour floorRoom0(const RoomStyle& s, int variant, int x, int y) {
    const int n = 32;
    // One large tile with a soft pillow shading and a thin seam.
    const float cx = (x + 0.5f) / n - 0.5f, cy = (y + 0.5f) / n - 0.5f;
    const float pillow = 1.0f - 0.35f * (cx * cx + cy * cy) - 0.08f * (cx + cy);
    Colour c = shade(s.floor, pillow);
    if (x == 0 || y == 0) {
        c = s.floorLight;
    } else if (x == n - 1 || y == n - 1) {
        c = s.floorDark;
    }
    if (variant == 2) {
        // A hairline crack wandering in from the edge: worn stone, nothing to step on or press. (A round
        // mark here looked like a pressure plate.)
        const float crack[6][2] = {{0, 9}, {8, 13}, {14, 12}, {19, 18}, {25, 19}, {31, 24}};
        const float px = x + 0.5f, py = y + 0.5f;
        float nearest = 99;
        for (int i = 0; i < 5; ++i) {
            nearest = std::min(nearest, segmentDistance(px, py, crack[i], crack[i + 1]));
        }
        nearest = std::min(nearest, segmentDistance(px, py, crack[2], kCrackBranch));
        if (nearest < 0.55f) {
            c = mixColour(c, s.floorDark, 0.75f);
        } else if (nearest < 1.2f && py > 12) {
            c = mixColour(c, s.floorLight, 0.25f); // the lower lip catches the light
        }
    }
    if (variant == 3) {
        // A few round pebbles set into the tile.
        const float pebbles[3][3] = {{0.28f, 0.3f, 0.07f}, {0.68f, 0.58f, 0.09f}, {0.38f, 0.72f, 0.06f}};
        for (const auto& p : pebbles) {
            const float du = (x + 0.5f) / n - p[0], dv = (y + 0.5f) / n - p[1];
            const float d = std::sqrt(du * du + dv * dv);
            if (d < p[2]) {
                c = mixColour(s.floorLight, s.floorDark, 0.2f + 0.5f * (du + dv + p[2]) / (2 * p[2]));
            }
        }
    }
    return shade(c, 0.97f + 0.05f * hashUnit(x, y, 100 + variant));
}

Colour floorRoom1(const RoomStyle& s, int variant, int x, int y) {
    // Four flagstones, the lower pair offset by half a stone.
    const int row = y / 8;
    const int shift = row == 1 ? 4 : 0;
    const int sx = (x + shift) % 16;
    const int stone = row * 2 + (x + shift) / 8 % 2;
    const int lx = sx % 8, ly = y % 8;
    if (lx == 7 || ly == 7) {
        return s.mortar;
    }
    const Colour base = shade(s.floor, 0.9f + 0.18f * hashUnit(stone, variant, 7));
    Colour c = bevel(base, s.floorLight, s.floorDark, lx, ly, 7, 7);
    if (hashUnit(x, y, 3) < 0.12f) {
        c = shade(c, 0.9f);
    }
    if (variant == 2 && stone == 1 &&
        ((lx == 2 && ly >= 1 && ly <= 3) || (lx == 3 && ly >= 3 && ly <= 5) || (lx == 4 && ly == 5))) {
        c = s.floorDark;
    }
    if (variant == 3 &&
        ((stone == 2 && lx >= 1 && lx <= 2 && ly >= 4 && ly <= 5) || (stone == 0 && lx == 5 && ly == 2))) {
        c = hexColour(0x7fbf6a);
    }
    return c;
}

Colour floorRoom2(const RoomStyle& s, int variant, int x, int y) {
    // Four planks with staggered ends, grain lines and nails.
    const int plank = y / 8, ly = y % 8;
    const int end = (plank * 11 + 5) % 32;
    if (ly == 7) {
        return s.mortar;
    }
    if (x == end) {
        return shade(s.mortar, 1.2f);
    }
    const Colour base = shade(s.floor, 0.88f + 0.2f * hashUnit(plank, x > end, 21));
    Colour c = base;
    const float grain = std::sin((x + plank * 7) * 0.35f + ly * 1.7f + std::sin(x * 0.15f + plank) * 2.0f);
    if (grain > 0.82f) {
        c = shade(base, 0.85f);
    }
    if (ly == 0) {
        c = mixColour(c, s.floorLight, 0.5f);
    }
    if (ly == 6) {
        c = mixColour(c, s.floorDark, 0.5f);
    }
    if ((x == end + 2 || x == end - 2 || x == ((end + 16) % 32)) && ly == 3 && x >= 0 && x < 32) {
        c = hexColour(0x3c3028);
    }
    if (variant == 2) {
        const float du = x - 20.5f, dv = y - 11.5f;
        const float d = std::sqrt(du * du * 0.5f + dv * dv * 1.6f);
        if (d < 1.6f) {
            c = s.floorDark;
        } else if (d < 3.0f) {
            c = shade(base, 0.8f);
        }
    }
    if (variant == 3) {
        // A hatch with iron bands and a pull ring.
        if (x >= 4 && x <= 27 && y >= 4 && y <= 27) {
            c = shade(c, 0.8f);
            if (x == 4 || x == 27 || y == 4 || y == 27) {
                c = hexColour(0x2a1a10);
            } else if (y == 9 || y == 22) {
                c = (x % 6 == 1) ? hexColour(0x9a9a9a) : hexColour(0x4a4a50);
            }
            // A flush iron grip rather than a ring, which read as a push button.
            if (y >= 15 && y <= 16 && x >= 12 && x <= 19) {
                c = y == 15 ? hexColour(0x8a8a92) : hexColour(0x4a4a50);
            }
        }
    }
    return c;
}

Colour floorRoom3(const RoomStyle& s, int variant, int x, int y) {
    // A machine floor panel: an inset plate, corner studs and circuit traces.
    if (x == 0 || y == 0) {
        return s.floorLight;
    }
    if (x == 15 || y == 15) {
        return s.floorDark;
    }
    Colour c = s.floor;
    if ((x == 2 || x == 13) && (y == 2 || y == 13)) {
        return shade(s.trim, 0.55f);
    }
    if (variant == 1 && y >= 6 && y <= 9 && x >= 4 && x <= 11 && (x % 2 == 0)) {
        c = s.floorDark;
    }
    if (variant == 4 && ((x + y) % 4 == 0) && x > 1 && x < 14 && y > 1 && y < 14) {
        c = shade(s.floor, 0.7f);
    }
    if (variant == 2 || variant == 3) {
        // Two traces run through the floor along the room's left edge, unbroken from one panel to the
        // next, one branching off on one panel and jogging aside on the other: wiring, not a marking that
        // points anywhere.
        const Colour trace = shade(s.trim, 0.4f);
        const bool jog = variant == 3 && y >= 6 && y <= 9;
        if (x == 5 || (x == 8 && !jog) || (jog && x == 8 + std::min(y - 5, 10 - y))) {
            c = trace;
        }
        if (variant == 2 && y == 10 && x > 8 && x < 13) {
            c = trace;
        }
        if ((variant == 2 && y == 10 && x == 12) || (variant == 3 && x == 5 && y == 11)) {
            c = shade(s.trim, 0.7f); // a solder point
        }
    }
    if (y == 4 && x >= 4 && x <= 11 && variant != 4) {
        c = mixColour(c, s.trim, 0.25f);
    }
    return c;
}

Colour floorRoom4(const RoomStyle& s, int variant, int x, int y) {
    const float u = (x + 0.5f) / 32, v = (y + 0.5f) / 32;
    Colour base = variant == 2 ? hexColour(0xdfe4ee) : s.floor;
    // Marble veins from a warped sine.
    const float warp = std::sin(u * 7.0f + variant) * 0.08f + std::sin(v * 11.0f) * 0.05f;
    const float vein = std::fabs(std::sin((u + v * 0.6f + warp) * 9.0f));
    Colour c = vein < 0.08f ? mixColour(base, s.floorDark, 0.45f) : base;
    c = shade(c, 0.98f + 0.03f * hashUnit(x, y, 41));
    if (x == 0 || y == 0) {
        c = s.floorLight;
    } else if (x == 31 || y == 31) {
        c = mixColour(base, s.floorDark, 0.6f);
    }
    if (variant == 3 && (x == 3 || x == 28)) {
        // Gold inlay lines that run on from tile to tile along the room's side aisles; a closed square
        // here looked like a plate to stand on.
        c = s.trim;
    }
    return c;
}

// Blocks of the wall face: rows of bricks, offset every other row.
Colour wallBlocks(int room, int x, int y) {
    const RoomStyle& s = roomStyle(room);
    const int n = s.size;
    switch (room) {
    case 0: {
        const int bh = 16, bw = 32;
        const int row = y / bh;
        const int bx = (x + (row % 2) * 16) % bw, by = y % bh;
        Colour base = shade(s.wall, 0.92f + 0.12f * hashUnit(row, (x + (row % 2) * 16) / bw, 5));
        const float cu = (bx + 0.5f) / bw - 0.5f, cv = (by + 0.5f) / bh - 0.5f;
        base = shade(base, 1.04f - 0.3f * (cu * cu + cv * cv));
        return bevel(base, s.wallLight, s.wallDark, bx, by, bw, bh);
    }
    case 1: {
        const int row = y / 4;
        const int bx = (x + (row % 2) * 4) % 8, by = y % 4;
        if (by == 3 || bx == 7) {
            return s.mortar;
        }
        const Colour base = shade(s.wall, 0.88f + 0.22f * hashUnit(row, (x + (row % 2) * 4) / 8, 9));
        return by == 0 ? mixColour(base, s.wallLight, 0.6f) : base;
    }
    case 2: {
        const int row = y / 8;
        const int bx = (x + (row % 2) * 8) % 16, by = y % 8;
        if (by == 7 || bx == 15) {
            return s.mortar;
        }
        Colour base = shade(s.wall, 0.86f + 0.24f * hashUnit(row, (x + (row % 2) * 8) / 16, 13));
        if (hashUnit(x, y, 17) < 0.1f) {
            base = shade(base, 0.88f);
        }
        return bevel(base, mixColour(base, s.wallLight, 0.6f), mixColour(base, s.wallDark, 0.5f), bx, by, 15,
                     7);
    }
    case 3: {
        // One riveted metal plate with a vent.
        Colour c = bevel(s.wall, s.wallLight, s.wallDark, x, y, n, n);
        if ((x == 2 || x == 13) && (y == 2 || y == 13)) {
            c = s.wallLight;
        }
        if (y >= 5 && y <= 10 && x >= 4 && x <= 11 && y % 2 == 1) {
            c = s.mortar;
        }
        return c;
    }
    default: {
        const int bh = 16, row = y / bh;
        const int bx = (x + (row % 2) * 16) % 32, by = y % bh;
        const float u = (x + 0.5f) / 32, v = (y + 0.5f) / 32;
        const float vein = std::fabs(std::sin((u * 1.3f - v + std::sin(v * 9.0f) * 0.05f) * 8.0f + row));
        Colour base = vein < 0.07f ? mixColour(s.wall, s.wallDark, 0.35f) : s.wall;
        return bevel(base, s.wallLight, s.wallDark, bx, by, 32, bh);
    }
    }
}

// The strip along the wall's inner edge where it meets the floor.
bool inTrim(WallPart part, int x, int y, int n, int width) {
    const bool bottom = y >= n - width, top = y < width, left = x < width, right = x >= n - width;
    switch (part) {
    case WallPart::Top:
        return bottom;
    case WallPart::Bottom:
        return top;
    case WallPart::Left:
        return right;
    case WallPart::Right:
        return left;
    case WallPart::TopLeft:
        return bottom && right;
    case WallPart::TopRight:
        return bottom && left;
    case WallPart::BottomLeft:
        return top && right;
    case WallPart::BottomRight:
        return top && left;
    }
    return false;
}
} // namespace

void addShimmer(PixelCanvas& canvas, int frame, Colour glint, float strength) {
    if (frame <= 0) {
        return;
    }
    const int n = canvas.width();
    const float centre = (frame - 0.5f) / 3.0f;
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            const float d = (x + y + 1.0f) / (2.0f * n);
            const float band = std::max(0.0f, 1.0f - std::fabs(d - centre) / 0.12f);
            if (band <= 0) {
                continue;
            }
            Colour c = canvas.at(x, y);
            const float a = c.a;
            c = mixColour(c, glint, band * strength);
            c.a = a;
            canvas.set(x, y, c);
        }
    }
}

PixelCanvas drawFloor(int room, int variant, int frame) {
    const RoomStyle& s = roomStyle(room);
    PixelCanvas canvas = roomCanvas(room);
    paintPixels(canvas, [&](int x, int y) {
        switch (room) {
        case 0:
            return floorRoom0(s, variant, x, y);
        case 1:
            return floorRoom1(s, variant, x, y);
        case 2:
            return floorRoom2(s, variant, x, y);
        case 3:
            return floorRoom3(s, variant, x, y);
        default:
            return floorRoom4(s, variant, x, y);
        }
    });
    addShimmer(canvas, frame, s.glint, room == 3 ? 0.22f : (room == 4 ? 0.5f : 0.3f));
    return canvas;
}

PixelCanvas drawTopWallBackground(int room) {
    return drawWall(room, WallPart::Top, 0);
}

PixelCanvas drawWall(int room, WallPart part, int frame) {
    const RoomStyle& s = roomStyle(room);
    PixelCanvas canvas = roomCanvas(room);
    const int n = s.size;
    const int trimWidth = n / 8;
    paintPixels(canvas, [&](int x, int y) {
        if (inTrim(part, x, y, n, trimWidth)) {
            // The trim is lit on the side towards the room.
            const bool edge = inTrim(part, x, y, n, 1);
            return edge ? shade(s.trim, 0.7f) : s.trim;
        }
        return wallBlocks(room, x, y);
    });
    addShimmer(canvas, frame, s.glint, 0.25f);
    return canvas;
}
