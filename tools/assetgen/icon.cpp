// The icon reuses the avatar drawing at full icon size, under the same green the game gives it.
#include "tools/assetgen/icon.h"

#include <algorithm>

#include "tools/assetgen/avatars.h"

PixelCanvas drawIcon(int size) {
    PixelCanvas icon(size, size);
    icon.setSmoothing(4);
    icon.paint(roundBoxShape(0.02f, 0.02f, 0.98f, 0.98f, 0.18f), hexColour(0x142018));
    // The doorway, lit green from below like the doors in the game.
    const Shape doorway =
        unionShape(boxShape(0.28f, 0.32f, 0.72f, 0.9f), ellipseShape(0.5f, 0.32f, 0.22f, 0.2f));
    icon.paint(doorway, hexColour(0x4a6a50));
    icon.paintWith(doorway, [](float, float v) {
        return mixColour(hexColour(0xffffff), hexColour(0x80ff80),
                         std::min(1.0f, std::max(0.0f, (v - 0.3f) / 0.6f)));
    });
    icon.paint(boxShape(0.1f, 0.88f, 0.9f, 0.94f), hexColour(0x2c4430));

    PixelCanvas robot = drawAvatar(0, 3, 0, 0, size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            Colour c = robot.at(x, y);
            c.r *= 0.5f;
            c.b *= 0.5f;
            icon.blend(x, y + size / 32, c);
        }
    }
    return icon;
}
