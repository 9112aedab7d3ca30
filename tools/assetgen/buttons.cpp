// Buttons show their command as a large symbol on a bevelled plate, so every command reads at a glance
// even when a cell is only 34 pixels tall. Doors slide up into the wall.
#include "tools/assetgen/buttons.h"

#include <cmath>

#include "tools/assetgen/room_style.h"
#include "tools/assetgen/tiles.h"

namespace {
// An arrow pointing up, centred on the cell, turned to (du, dv).
Shape arrowShape(float du, float dv, float centreV) {
    const Shape up = unionShape(triangleShape(0.5f, 0.27f, 0.26f, 0.52f, 0.74f, 0.52f),
                                boxShape(0.42f, 0.5f, 0.58f, 0.73f));
    return [=](float u, float v) {
        // Rotate the point into the frame where the arrow points up (0, -1).
        const float x = u - 0.5f, y = v - centreV;
        const float lu = -dv * x + du * y; // across the arrow
        const float lv = -du * x - dv * y; // along it, negative towards the tip
        return up(0.5f + lu, 0.5f + lv);
    };
}

// Act: a hand with its forefinger raised to press, the one symbol that means "do it" in every room. At
// 16 pixels shapes would smear it into a blob, so it is laid out pixel by pixel; at 32 it is drawn with
// a rounded fist and the slits between the curled fingers.
const char* const kSmallHand[9] = {
    "..##....", //
    "..##....", //
    "..##....", //
    "..######", //
    "#.######", // the thumb's tip
    "##.#####", //
    ".#######", //
    "..######", //
    "...####.", //
};

Shape handShape(float centreV, bool small) {
    if (small) {
        return [=](float u, float v) {
            const int col = static_cast<int>(std::floor(u * 16)) - 4;
            const int row = static_cast<int>(std::floor(v * 16 - (centreV * 16 - 4.5f)));
            return col >= 0 && col < 8 && row >= 0 && row < 9 && kSmallHand[row][col] == '#';
        };
    }
    const Shape finger = roundBoxShape(0.43f, centreV - 0.28f, 0.55f, centreV + 0.04f, 0.06f);
    const Shape fist = roundBoxShape(0.42f, centreV - 0.07f, 0.7f, centreV + 0.25f, 0.08f);
    const Shape thumb = lineShape(0.44f, centreV + 0.1f, 0.32f, centreV - 0.01f, 0.055f);
    const Shape slits = unionShape(boxShape(0.55f, centreV - 0.07f, 0.58f, centreV + 0.06f),
                                   boxShape(0.625f, centreV - 0.07f, 0.655f, centreV + 0.06f));
    return unionShape(minusShape(unionShape(finger, fist), slits), thumb);
}

Shape symbolShape(ButtonCommand command, float centreV, bool small) {
    switch (command) {
    case ButtonCommand::Left:
        return arrowShape(-1, 0, centreV);
    case ButtonCommand::Right:
        return arrowShape(1, 0, centreV);
    case ButtonCommand::Up:
        return arrowShape(0, -1, centreV);
    case ButtonCommand::Down:
        return arrowShape(0, 1, centreV);
    case ButtonCommand::Act:
        break;
    }
    return handShape(centreV, small);
}
} // namespace

PixelCanvas drawButton(int room, ButtonCommand command, int frame) {
    const RoomStyle& s = roomStyle(room);
    PixelCanvas canvas = drawTopWallBackground(room);
    const float px = 1.0f / s.size;
    // How far the plate is pushed in: deep on frame 1, held on 2, half back on 3.
    const float press[4] = {0.0f, 1.0f, 1.0f, 0.5f};
    const float depth = press[frame] * 2 * px * (s.size == 16 ? 0.5f : 1.0f);
    const float u0 = 0.14f, u1 = 0.86f, v0 = 0.12f, v1 = 0.82f;

    // A dark socket the plate sits in.
    canvas.paint(roundBoxShape(u0 - px, v0 - px, u1 + px, v1 + px, 0.08f), shade(s.mortar, 0.7f));
    const Colour plate = shade(s.plate, frame == 0 ? 1.0f : 0.82f);
    canvas.paint(roundBoxShape(u0, v0 + depth, u1, v1, 0.07f), shade(plate, 1.25f));
    canvas.paint(roundBoxShape(u0 + px, v0 + depth + px, u1, v1, 0.07f), shade(plate, 0.6f));
    canvas.paint(roundBoxShape(u0 + px, v0 + depth + px, u1 - px, v1 - px, 0.06f), plate);

    const float centreV = 0.47f + depth;
    // The symbol lights up while pressed and stays lit as the plate springs back, so it never fades
    // into the plate halfway.
    const Colour symbol = frame == 0 ? s.symbol : s.symbolLit;
    if (frame == 1 || frame == 2) {
        // The lit symbol glows onto the plate.
        canvas.paint(discShape(0.5f, centreV, 0.3f), withAlpha(s.symbolLit, 0.25f));
    }
    // A one-pixel drop shadow keeps the symbol crisp against the plate.
    canvas.paint([&](float u, float v) { return symbolShape(command, centreV, s.size < 32)(u - px, v - px); },
                 withAlpha(shade(plate, 0.45f), 0.9f));
    canvas.paint(symbolShape(command, centreV, s.size < 32), symbol);
    return canvas;
}

PixelCanvas drawDoor(int room, int frame) {
    const RoomStyle& s = roomStyle(room);
    PixelCanvas canvas = drawTopWallBackground(room);
    const float px = 1.0f / s.size;
    const float u0 = 0.18f, u1 = 0.82f, top = 0.14f;
    const Shape opening =
        unionShape(boxShape(u0, top + 0.32f, u1, 1.01f), ellipseShape(0.5f, top + 0.32f, 0.32f, 0.32f));
    const Shape frameShape =
        unionShape(boxShape(u0 - 2 * px - 0.04f, top + 0.32f, u1 + 2 * px + 0.04f, 1.01f),
                   ellipseShape(0.5f, top + 0.32f, 0.32f + 2 * px + 0.04f, 0.36f + 2 * px));
    canvas.paint(frameShape, s.plate);
    canvas.paint([&](float u, float v) { return frameShape(u, v) && !frameShape(u - px, v - px); },
                 shade(s.plate, 1.3f));
    // Clear the doorway: the game's door light shows through here.
    canvas.paint(opening, Colour{});
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            if (opening((x + 0.5f) / s.size, (y + 0.5f) / s.size)) {
                canvas.set(x, y, Colour{});
            }
        }
    }
    // The door leaf slides up into the wall: its lower edge rises frame by frame.
    const float lowerEdge[4] = {1.01f, 0.72f, 0.46f, top + 0.12f};
    const float edge = lowerEdge[frame];
    const Colour leaf = room == 3 ? hexColour(0x26302a) : shade(s.wall, 0.75f);
    const Shape leafShape = [&](float u, float v) { return opening(u, v) && v < edge; };
    canvas.paint(leafShape, leaf);
    // Panels and a window; the window stays open to the light until the leaf has risen past it.
    const float windowV = top + 0.26f - (1.01f - edge) * 0.9f;
    const Shape window = ellipseShape(0.5f, windowV, 0.13f, 0.1f);
    canvas.paint(
        [&](float u, float v) {
            return leafShape(u, v) && std::fabs(u - 0.5f) < 0.5f * px + 0.01f && v > windowV;
        },
        shade(leaf, 0.7f));
    canvas.paint([&](float u, float v) { return leafShape(u, v) && v >= edge - 2 * px; }, shade(leaf, 0.6f));
    if (frame < 3) {
        for (int y = 0; y < canvas.height(); ++y) {
            for (int x = 0; x < canvas.width(); ++x) {
                const float u = (x + 0.5f) / s.size, v = (y + 0.5f) / s.size;
                if (window(u, v) && leafShape(u, v)) {
                    canvas.set(x, y, Colour{});
                }
            }
        }
        // The light also shows in the gap under a closed door.
        if (frame == 0) {
            for (int x = 0; x < canvas.width(); ++x) {
                const float u = (x + 0.5f) / s.size;
                if (u > u0 + 2 * px && u < u1 - 2 * px) {
                    canvas.set(x, canvas.height() - 1, Colour{});
                }
            }
        }
    }
    canvas.bleedIntoTransparent();
    return canvas;
}
