// The sheet shows the textures as the game shows them: room 0 and avatar 0 under the green tint, the
// doors over their room's light, cut-outs over a checkerboard. Every cell is 128 pixels (four times a
// 32-pixel texture, eight times a 16-pixel one), so the rooms can be compared side by side.
#include "tools/assetgen/contact_sheet.h"

#include <vector>

#include "game/world_tables.h"
#include "tools/assetgen/png_file.h"
#include "tools/assetgen/room_style.h"
#include "tools/assetgen/texture_catalog.h"

namespace {
constexpr int kCell = 128;
constexpr int kGap = 8;
constexpr int kRunsPerRow = 4;
constexpr int kPreviewCell = 64;
const Colour kGreenTint{0.5f, 1.0f, 0.5f, 1.0f};
const Colour kNoTint{1, 1, 1, 1};

PixelCanvas textureFor(int number) {
    bool known = false;
    return drawTexture(number, known);
}

// Nearest-neighbour scaling to a square of side cellPixels, multiplied by the tint, composed over sheet.
void place(PixelCanvas& sheet, const PixelCanvas& texture, int x0, int y0, int cellPixels, Colour tint) {
    for (int y = 0; y < cellPixels; ++y) {
        for (int x = 0; x < cellPixels; ++x) {
            Colour c = texture.at(x * texture.width() / cellPixels, y * texture.height() / cellPixels);
            c.r *= tint.r;
            c.g *= tint.g;
            c.b *= tint.b;
            sheet.blend(x0 + x, y0 + y, c);
        }
    }
}

// The light the game draws behind a door: the room colour at the bottom fading to white.
void doorLight(PixelCanvas& sheet, int room, int x0, int y0, int cellPixels) {
    const Colour light = roomStyle(room).doorLight;
    const float top = room == 3 ? 0.6f : 0.3f;
    for (int y = 0; y < cellPixels; ++y) {
        const float fromBottom = 1.0f - (y + 0.5f) / cellPixels;
        const float t = fromBottom >= top ? 1.0f : fromBottom / top;
        for (int x = 0; x < cellPixels; ++x) {
            sheet.set(x0 + x, y0 + y, mixColour(light, Colour{1, 1, 1, 1}, t));
        }
    }
}

void checkerboard(PixelCanvas& sheet, int x0, int y0, int cellPixels) {
    for (int y = 0; y < cellPixels; ++y) {
        for (int x = 0; x < cellPixels; ++x) {
            sheet.set(x0 + x, y0 + y, ((x / 16 + y / 16) % 2) ? hexColour(0x585858) : hexColour(0x6c6c6c));
        }
    }
}

struct Run {
    int first;
    int room; // for the door light and tint; -1 none
    bool door;
    Colour tint;
};

struct Section {
    Colour band;
    std::vector<Run> runs;
};

int sectionHeight(const Section& section) {
    const int rows = (static_cast<int>(section.runs.size()) + kRunsPerRow - 1) / kRunsPerRow;
    return 12 + kGap + rows * (kCell + kGap);
}

std::vector<Section> sections() {
    std::vector<Section> out;
    const Colour bands[5] = {hexColour(0x80ff80), hexColour(0x66a99a), hexColour(0x936b45),
                             hexColour(0x40ff40), hexColour(0xffffff)};
    for (int room = 0; room < kRoomCount; ++room) {
        Section s{bands[room], {}};
        const Colour tint = room == 0 ? kGreenTint : kNoTint;
        for (int kind = kTileFirstFloor; kind <= kTileDoor; kind += 10) {
            const int number = roomTextureNumber(room, kind);
            const bool floor = kind <= kTileLastFloor;
            if (floor) {
                // Only the floor variants the room actually uses.
                bool used = false;
                for (int n : allTextureNumbers()) {
                    used = used || n == number;
                }
                if (!used) {
                    continue;
                }
            }
            s.runs.push_back({number, room, kind == kTileDoor, tint});
        }
        out.push_back(s);
    }
    Section buttons{hexColour(0xffd27a), {}};
    for (int room = 0; room < kRoomCount; ++room) {
        for (int kind = kTileButtonLeft; kind <= kTileButtonAct; kind += 10) {
            buttons.runs.push_back(
                {roomTextureNumber(room, kind), room, false, room == 0 ? kGreenTint : kNoTint});
        }
    }
    out.push_back(buttons);
    Section items{hexColour(0xf8d860), {}};
    for (int room = 0; room < kRoomCount; ++room) {
        items.runs.push_back({itemTextureNumber(room), -1, false, room == 0 ? kGreenTint : kNoTint});
    }
    out.push_back(items);
    for (int index = 0; index < kAvatarCount; ++index) {
        Section avatars{hexColour(0xc080ff), {}};
        for (int pictureSet = 0; pictureSet < 3; ++pictureSet) {
            for (int facing = 0; facing < 4; ++facing) {
                avatars.runs.push_back({avatarTextureNumber(index, facing, pictureSet, 0), -1, false,
                                        index == 0 ? kGreenTint : kNoTint});
            }
        }
        out.push_back(avatars);
    }
    Section outside{hexColour(0x4060c0), {}};
    for (int kind = kOutsideFirstDecoration; kind <= kOutsideLastDecoration; kind += 10) {
        outside.runs.push_back({outsideTextureNumber(kind), -1, false, kNoTint});
    }
    outside.runs.push_back({outsideTextureNumber(kOutsideBackdrop), -1, false, kNoTint});
    out.push_back(outside);
    return out;
}

// The whole play field at the start of a game, with the avatars standing in their rooms.
void drawFieldPreview(PixelCanvas& sheet, int x0, int y0) {
    for (int y = 0; y < kGridHeight; ++y) {
        for (int x = 0; x < kGridWidth; ++x) {
            const int px = x0 + x * kPreviewCell, py = y0 + (kGridHeight - 1 - y) * kPreviewCell;
            const int number = initialCellTexture(x, y);
            const TextureName name = nameOfTexture(number);
            if (name.family == TextureName::kRoomTile && name.kind == kTileDoor) {
                doorLight(sheet, name.owner, px, py, kPreviewCell);
            }
            place(sheet, textureFor(number), px, py, kPreviewCell, y <= 3 ? kGreenTint : kNoTint);
        }
    }
    const int avatarCells[5][3] = {{6, 1, 3}, {5, 5, 2}, {8, 9, 1}, {4, 13, 3}, {3, 18, 1}};
    for (int i = 0; i < kAvatarCount; ++i) {
        const int x = avatarCells[i][0], y = avatarCells[i][1];
        place(sheet, textureFor(avatarTextureNumber(i, avatarCells[i][2], 0, 0)), x0 + x * kPreviewCell,
              y0 + (kGridHeight - 1 - y) * kPreviewCell, kPreviewCell, i == 0 ? kGreenTint : kNoTint);
    }
    for (int room = 0; room < kRoomCount; ++room) {
        const int y = 4 * room + 1;
        place(sheet, textureFor(itemTextureNumber(room)), x0 + 10 * kPreviewCell,
              y0 + (kGridHeight - 1 - y) * kPreviewCell, kPreviewCell, room == 0 ? kGreenTint : kNoTint);
    }
}
} // namespace

bool writeContactSheet(const std::string& path) {
    const std::vector<Section> all = sections();
    const int width = kGap + kRunsPerRow * (4 * (kCell + kGap) + kGap * 2);
    int height = kGap + kGridHeight * kPreviewCell + kGap;
    for (const Section& s : all) {
        height += sectionHeight(s);
    }
    PixelCanvas sheet(width, height);
    sheet.fill(hexColour(0x1c1c20));
    drawFieldPreview(sheet, kGap, kGap);
    int y = kGap + kGridHeight * kPreviewCell + kGap;
    for (const Section& s : all) {
        sheet.fillRect(0, y, width, y + 12, s.band);
        y += 12 + kGap;
        for (size_t i = 0; i < s.runs.size(); ++i) {
            const Run& run = s.runs[i];
            const int column = static_cast<int>(i) % kRunsPerRow, row = static_cast<int>(i) / kRunsPerRow;
            const int runX = kGap + column * (4 * (kCell + kGap) + kGap * 2);
            const int runY = y + row * (kCell + kGap);
            for (int frame = 0; frame < kFramesPerTexture; ++frame) {
                const int x = runX + frame * (kCell + kGap);
                if (run.door) {
                    doorLight(sheet, run.room, x, runY, kCell);
                } else {
                    checkerboard(sheet, x, runY, kCell);
                }
                place(sheet, textureFor(run.first + frame), x, runY, kCell, run.tint);
            }
        }
        y += sectionHeight(s) - 12 - kGap;
    }
    return writePngFile(sheet, path);
}
