// Items: a key, a sea crystal, a brass lantern, a power cell and a star, one per room. The game moves,
// turns or fades them while they are taken; the frames add the sparkle of being picked up.
#include "tools/assetgen/items.h"

#include <cmath>

#include "tools/assetgen/room_style.h"

namespace {
constexpr float kPi = 3.14159265f;

void drawKey(PixelCanvas& c, float lift) {
    const Colour gold = hexColour(0xf4d36a), dark = hexColour(0x9a7a22), light = hexColour(0xfff4c0);
    const float v = -lift;
    c.paint(ringShape(0.34f, 0.5f + v, 0.08f, 0.17f), gold);
    c.paint(boxShape(0.48f, 0.46f + v, 0.84f, 0.55f + v), gold);
    c.paint(boxShape(0.7f, 0.55f + v, 0.75f, 0.66f + v), gold);
    c.paint(boxShape(0.78f, 0.55f + v, 0.84f, 0.62f + v), gold);
    c.paint(boxShape(0.48f, 0.52f + v, 0.84f, 0.55f + v), dark);
    c.paint(discShape(0.3f, 0.43f + v, 0.03f), light);
}

void drawCrystal(PixelCanvas& c, float lift) {
    const float v = -lift;
    const Colour deep = hexColour(0x1f6f8a), mid = hexColour(0x49b6c8), light = hexColour(0xc8f6ff);
    c.paint(triangleShape(0.5f, 0.12f + v, 0.25f, 0.45f + v, 0.75f, 0.45f + v), mid);
    c.paint(triangleShape(0.25f, 0.45f + v, 0.75f, 0.45f + v, 0.5f, 0.88f + v), deep);
    c.paint(triangleShape(0.5f, 0.12f + v, 0.38f, 0.45f + v, 0.5f, 0.45f + v), light);
    c.paint(triangleShape(0.5f, 0.45f + v, 0.62f, 0.45f + v, 0.5f, 0.88f + v), mid);
}

void drawLantern(PixelCanvas& c, float lift) {
    const float v = -lift;
    const Colour brass = hexColour(0xc89a3c), dark = hexColour(0x5a3a14), glow = hexColour(0xffe890);
    c.paint(ringShape(0.5f, 0.2f + v, 0.05f, 0.09f), dark);
    c.paint(boxShape(0.33f, 0.26f + v, 0.67f, 0.33f + v), brass);
    c.paint(roundBoxShape(0.3f, 0.32f + v, 0.7f, 0.76f + v, 0.06f), dark);
    c.paint(roundBoxShape(0.35f, 0.36f + v, 0.65f, 0.72f + v, 0.04f), glow);
    c.paint(ellipseShape(0.5f, 0.58f + v, 0.07f, 0.11f), hexColour(0xff9a30));
    c.paint(boxShape(0.48f, 0.36f + v, 0.52f, 0.72f + v), withAlpha(dark, 0.8f));
    c.paint(boxShape(0.28f, 0.75f + v, 0.72f, 0.82f + v), brass);
}

void drawCell(PixelCanvas& c, float lift) {
    const float v = -lift;
    const Colour shell = hexColour(0x2a3a2e), green = hexColour(0x50ff50), light = hexColour(0xd8ffd8);
    c.paint(boxShape(0.42f, 0.16f + v, 0.58f, 0.24f + v), hexColour(0xa0b0a4));
    c.paint(boxShape(0.28f, 0.22f + v, 0.72f, 0.84f + v), shell);
    c.paint(boxShape(0.34f, 0.3f + v, 0.66f, 0.78f + v), hexColour(0x1a8a1a));
    c.paint(boxShape(0.34f, 0.48f + v, 0.66f, 0.78f + v), green);
    c.paint(triangleShape(0.54f, 0.3f + v, 0.4f, 0.56f + v, 0.52f, 0.56f + v), light);
    c.paint(triangleShape(0.48f, 0.52f + v, 0.62f, 0.52f + v, 0.46f, 0.78f + v), light);
}

Shape starShape(float cu, float cv, float outer, float inner) {
    return [=](float u, float v) {
        const float du = u - cu, dv = v - cv;
        const float r = std::sqrt(du * du + dv * dv);
        float a = std::atan2(du, -dv);
        if (a < 0) {
            a += 2 * kPi;
        }
        const float sector = 2 * kPi / 5;
        const float t = std::fabs(std::fmod(a, sector) / sector - 0.5f) * 2; // 1 at a point, 0 between
        return r <= inner + (outer - inner) * t * t;
    };
}

void drawStar(PixelCanvas& c, float lift) {
    const float v = -lift;
    c.paint(starShape(0.5f, 0.52f + v, 0.4f, 0.17f), hexColour(0xa07820));
    c.paint(starShape(0.5f, 0.52f + v, 0.34f, 0.14f), hexColour(0xf8d860));
    c.paint(starShape(0.5f, 0.5f + v, 0.16f, 0.07f), hexColour(0xfffbe0));
}

void drawSparkles(PixelCanvas& c, int frame, Colour colour) {
    // Little four-pointed glints that spread outwards as the item is lifted.
    const float spread = 0.16f + 0.1f * frame;
    for (int i = 0; i < 4; ++i) {
        const float a = kPi * 0.25f + i * kPi * 0.5f + frame * 0.4f;
        const float cu = 0.5f + std::cos(a) * spread, cv = 0.5f + std::sin(a) * spread;
        const float size = 0.09f - 0.015f * frame;
        c.paint(unionShape(boxShape(cu - size, cv - 0.02f, cu + size, cv + 0.02f),
                           boxShape(cu - 0.02f, cv - size, cu + 0.02f, cv + size)),
                withAlpha(colour, 1.0f - 0.2f * frame));
    }
}

} // namespace

PixelCanvas drawItem(int room, int frame) {
    PixelCanvas canvas = roomCanvas(room);
    const float lift = 0.04f * frame;
    switch (room) {
    case 0:
        drawKey(canvas, lift);
        break;
    case 1:
        drawCrystal(canvas, lift);
        break;
    case 2:
        drawLantern(canvas, lift);
        break;
    case 3:
        drawCell(canvas, lift);
        break;
    default:
        drawStar(canvas, lift);
        break;
    }
    canvas.addOutline(hexColour(0x141018));
    if (frame > 0) {
        drawSparkles(canvas, frame, roomStyle(room).symbolLit);
    }
    canvas.bleedIntoTransparent();
    return canvas;
}
