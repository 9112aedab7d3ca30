// Outside the rooms it is night. 8010 is a twinkling star, 8020 a firefly, 8030 a radio beacon (the
// game keeps that one cell blinking without pause), and 8040 to 8070 the four quarters of a moon with
// clouds drifting past (top left, top right, bottom left, bottom right).
#include "tools/assetgen/outside.h"

#include <cmath>

#include "tools/assetgen/noise.h"

namespace {
constexpr int kSize = 16;
const Colour kSky = hexColour(0x0c1224);

PixelCanvas backdrop() {
    PixelCanvas c(kSize, kSize);
    c.fill(kSky);
    return c;
}

void twinklingStar(PixelCanvas& c, int frame) {
    const Colour star = hexColour(0xfff4c8);
    const int arms[4] = {1, 2, 3, 2};
    const int arm = arms[frame];
    c.set(8, 8, star);
    for (int i = 1; i <= arm; ++i) {
        const Colour fade = mixColour(star, kSky, static_cast<float>(i) / (arm + 1));
        c.set(8 + i, 8, fade);
        c.set(8 - i, 8, fade);
        c.set(8, 8 + i, fade);
        c.set(8, 8 - i, fade);
    }
    if (frame >= 2) {
        const Colour glow = mixColour(star, kSky, frame == 2 ? 0.6f : 0.8f);
        c.set(7, 7, glow);
        c.set(9, 9, glow);
        c.set(7, 9, glow);
        c.set(9, 7, glow);
    }
}

void firefly(PixelCanvas& c, int frame) {
    // Drifts along a little loop and glows brighter in the middle of its flight.
    const int path[4][2] = {{7, 8}, {9, 6}, {10, 9}, {8, 10}};
    const float glow[4] = {0.35f, 0.8f, 1.0f, 0.6f};
    const int x = path[frame][0], y = path[frame][1];
    const Colour light = hexColour(0xd8ff70);
    for (int dy = -2; dy <= 2; ++dy) {
        for (int dx = -2; dx <= 2; ++dx) {
            const float d = std::sqrt(static_cast<float>(dx * dx + dy * dy));
            if (d <= 2.2f) {
                c.blend(x + dx, y + dy, withAlpha(light, glow[frame] * 0.35f * (1 - d / 2.4f)));
            }
        }
    }
    c.set(x, y, mixColour(kSky, light, glow[frame]));
}

void beacon(PixelCanvas& c, int frame) {
    const Colour steel = hexColour(0x5a6270), steelLight = hexColour(0x8a94a4);
    for (int y = 6; y < 16; ++y) {
        const int half = (y - 6) / 3;
        c.set(8 - half, y, steel);
        c.set(8 + half, y, steel);
        if (y % 3 == 0) {
            for (int x = 8 - half; x <= 8 + half; ++x) {
                c.set(x, y, steelLight);
            }
        }
    }
    c.set(8, 5, steelLight);
    // Off, then a flash, then its afterglow: with the game's steady two steps a second it blinks.
    const float light[4] = {0.2f, 1.0f, 0.55f, 0.15f};
    const Colour red = hexColour(0xff4040);
    for (int dy = -3; dy <= 3; ++dy) {
        for (int dx = -3; dx <= 3; ++dx) {
            const float d = std::sqrt(static_cast<float>(dx * dx + dy * dy));
            if (d < 3.2f && d > 0.9f) {
                c.blend(8 + dx, 4 + dy, withAlpha(red, light[frame] * 0.4f * (1 - d / 3.2f)));
            }
        }
    }
    c.set(8, 4, mixColour(hexColour(0x501010), red, light[frame]));
}

void moonQuarter(PixelCanvas& c, int quarter, int frame) {
    // The moon spans a 32 x 32 square; this tile is one quarter of it.
    const int ox = (quarter % 2) * kSize, oy = (quarter / 2) * kSize;
    const Colour moon = hexColour(0xf0ead0), moonShade = hexColour(0xc8c0a0), cloud = hexColour(0x3a4668);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const float gx = ox + x + 0.5f, gy = oy + y + 0.5f;
            const float d = std::sqrt((gx - 16) * (gx - 16) + (gy - 16) * (gy - 16));
            if (d < 11.5f) {
                Colour col = moon;
                const float craters[3][3] = {{12, 12, 2.5f}, {20, 18, 3.2f}, {14, 21, 1.8f}};
                for (const auto& k : craters) {
                    if (std::hypot(gx - k[0], gy - k[1]) < k[2]) {
                        col = moonShade;
                    }
                }
                if (gx + gy > 40) {
                    col = mixColour(col, moonShade, 0.5f);
                }
                c.set(x, y, col);
            } else if (d < 14.0f) {
                c.set(x, y, mixColour(kSky, hexColour(0x3a4060), 0.5f * (14.0f - d) / 2.5f));
            }
        }
    }
    if (frame > 0) {
        // A thin cloud drifts through the quarter from left to right.
        const int centre = -4 + frame * 6 + (quarter % 2) * 2;
        const int row = 6 + (quarter / 2) * 3 + quarter % 2 * 2;
        for (int x = centre - 5; x <= centre + 5; ++x) {
            for (int y = row - 1; y <= row + 1; ++y) {
                const bool core = y == row || (std::abs(x - centre) < 3);
                c.blend(x, y, withAlpha(cloud, core ? 0.85f : 0.5f));
            }
        }
    }
}

void faintStars(PixelCanvas& c, int seed) {
    for (int i = 0; i < 2; ++i) {
        const int x = static_cast<int>(hashUnit(i, seed, 3) * kSize),
                  y = static_cast<int>(hashUnit(i, seed, 4) * kSize);
        c.set(x, y, mixColour(kSky, hexColour(0xb0b8e0), 0.35f));
    }
}
} // namespace

PixelCanvas drawOutside(int number, int frame) {
    PixelCanvas c = backdrop();
    switch (number) {
    case 8010:
        twinklingStar(c, frame);
        break;
    case 8020:
        faintStars(c, 20);
        firefly(c, frame);
        break;
    case 8030:
        beacon(c, frame);
        break;
    case 8040:
        moonQuarter(c, 0, frame);
        break;
    case 8050:
        moonQuarter(c, 1, frame);
        break;
    case 8060:
        moonQuarter(c, 2, frame);
        break;
    case 8070:
        moonQuarter(c, 3, frame);
        break;
    default:
        // The plain backdrop. One cell of it sits inside the grid's wall columns and may animate: it
        // only gets the faintest glimmer.
        if (frame > 0) {
            c.set(5 + frame * 2, 4 + frame, mixColour(kSky, hexColour(0xb0b8e0), 0.25f));
        }
        break;
    }
    return c;
}
