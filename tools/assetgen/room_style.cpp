// The five palettes. Room 0 is drawn green-tinted (0.5, 1, 0.5) by the game, so its colours are chosen
// light and fairly neutral; the tint turns them into the room's green.
#include "tools/assetgen/room_style.h"

#include "game/world_tables.h"

namespace {
Colour rgb(float r, float g, float b) {
    return Colour{r, g, b, 1.0f};
}

const RoomStyle kStyles[5] = {
    // Room 0: soft mid-grey stone under a green light; smooth. Kept a step darker than the avatar, which
    // the game tints the same green.
    {32, hexColour(0xa3b09e), hexColour(0xc0ccba), hexColour(0x7a8678), hexColour(0x6e7c70),
     hexColour(0x8e9c90), hexColour(0x465248), hexColour(0x3a443c), hexColour(0x28302a), hexColour(0x4c5a62),
     hexColour(0xfff4c0), hexColour(0xffffff), hexColour(0xffffff), rgb(0.5f, 1.0f, 0.5f)},
    // Room 1: sea-green flagstones and slate bricks; 16 px blocks.
    {16, hexColour(0x4f857a), hexColour(0x6ea99b), hexColour(0x335c54), hexColour(0x2f4f5a),
     hexColour(0x4a6f78), hexColour(0x1d343d), hexColour(0x15262c), hexColour(0x0f1c20), hexColour(0x8c9ea0),
     hexColour(0xffd27a), hexColour(0xfff6c8), hexColour(0xb8f0e0), rgb(0.4f, 169 / 255.0f, 154 / 255.0f)},
    // Room 2: warm wooden planks and brick; fine pixel art.
    {32, hexColour(0x93643a), hexColour(0xb47d4a), hexColour(0x694223), hexColour(0x7a3e2c),
     hexColour(0x9c5a3e), hexColour(0x52281c), hexColour(0x3b2418), hexColour(0x2a1810), hexColour(0xb08a4a),
     hexColour(0x3a1e10), hexColour(0xfff0a0), hexColour(0xffe2a8),
     rgb(147 / 255.0f, 107 / 255.0f, 69 / 255.0f)},
    // Room 3: dark machine room with bright green circuitry; 16 px blocks.
    {16, hexColour(0x1a2a1e), hexColour(0x2e4a33), hexColour(0x0e1810), hexColour(0x34403a),
     hexColour(0x56665c), hexColour(0x1c2420), hexColour(0x101612), hexColour(0x40ff40), hexColour(0x4a5850),
     hexColour(0x40ff40), hexColour(0xd0ffd0), hexColour(0x80ff80), rgb(64 / 255.0f, 1.0f, 64 / 255.0f)},
    // Room 4: white marble with pale gold; smooth.
    {32, hexColour(0xeef0f4), hexColour(0xffffff), hexColour(0xc6cbd6), hexColour(0xd8dce4),
     hexColour(0xf6f7fa), hexColour(0xa4abb8), hexColour(0x9aa0ae), hexColour(0xd4b464), hexColour(0xc8a450),
     hexColour(0x5a6478), hexColour(0xffffff), hexColour(0xf0d890), rgb(1.0f, 1.0f, 1.0f)},
};
} // namespace

const RoomStyle& roomStyle(int room) {
    return kStyles[(room < 0 || room > 4) ? 0 : room];
}

PixelCanvas roomCanvas(int room) {
    const RoomStyle& style = roomStyle(room);
    PixelCanvas canvas(style.size, style.size);
    canvas.setSmoothing(roomDrawnSmooth(room) ? 4 : 1);
    return canvas;
}
