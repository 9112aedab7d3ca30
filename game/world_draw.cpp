// Drawing the play field: door lights, tiles, avatars, items, crawlers and the masks that hide the
// rooms not yet revealed (or darkened again).
#include "game/world.h"

#include <SDL/SDL.h>
#include <SDL/SDL_opengl.h>
#include <algorithm>
#include <cmath>
#include <functional>

#include "app/services.h"
#include "app/viewport.h"
#include "game/avatar.h"
#include "game/crawler.h"
#include "game/world_tables.h"
#include "render/render_state.h"
#include "render/texture.h"
#include "render/vec3.h"

namespace {
const float kPi = 3.14159265f;
// Rows 0..3, room 0, are drawn through the green tint.
const int kTintedRows = 4;

// An axis-aligned quad in window units, corners counter-clockwise from the lower left.
void quad(float left, float bottom, float right, float top) {
    vertex2D(left, bottom);
    vertex2D(right, bottom);
    vertex2D(right, top);
    vertex2D(left, top);
}

void texturedQuad(const float corners[4][2]) {
    static const float kTexCoords[4][2] = {{0.0f, 1.0f}, {1.0f, 1.0f}, {1.0f, 0.0f}, {0.0f, 0.0f}};
    glBegin(GL_QUADS);
    for (int i = 0; i < 4; ++i) {
        glTexCoord2f(kTexCoords[i][0], kTexCoords[i][1]);
        vertex2D(corners[i][0], corners[i][1]);
    }
    glEnd();
}

// The black cover over rows from bottom up to the top, and the part-transparent band below it while a
// reveal is under way.
void drawMask(float reveal, float left, float right, float c) {
    const int n = static_cast<int>(reveal + 0.9999f);
    setFlatColour(0.0f, 0.0f, 0.0f, 1.0f);
    glBegin(GL_QUADS);
    quad(left * c, 4.0f * n * c, right * c, 21.0f * c);
    glEnd();
    const float uncovered = static_cast<float>(n) - reveal;
    if (uncovered > 0.001f) {
        const float alpha = 1.0f - (1.0f - uncovered) * (1.0f - uncovered);
        setFlatColour(0.0f, 0.0f, 0.0f, alpha);
        glBegin(GL_QUADS);
        quad(left * c, 4.0f * (n - 1) * c, right * c, 4.0f * n * c);
        glEnd();
    }
}
} // namespace

void World::draw() {
    const float c = theViewport->height / 21.0f;
    // The 14 grid columns sit centred in the window.
    const float shift = std::round(theViewport->width * 0.5f) - 14.0f * c * 0.5f;
    glPushMatrix();
    glTranslatef(0.0f, shift, 0.0f);
    fieldDrawnFromPicture_ = drawKeptField(c, shift);
    if (!fieldDrawnFromPicture_) {
        drawDoorLights(c);
        drawTiles(c, TileCells::kAll);
    }
    for (const Avatar* avatar : avatars) {
        avatar->draw();
    }
    drawItems(c);
    drawCrawlers(c);
    drawMasks(c);
    glPopMatrix();
}

bool World::drawKeptField(float c, float shift) {
    if (!keepFieldPicture || !fieldLayer_.update(*this, static_cast<int>(windowWidth),
                                                 static_cast<int>(windowHeight), c, shift)) {
        return false;
    }
    const FieldLayer::Stale& stale = fieldLayer_.stale();
    if (stale.whole || stale.count > 0) {
        fieldLayer_.begin(c);
        drawTiles(c, TileCells::kStaleInKeptPicture);
        fieldLayer_.end();
    }
    fieldLayer_.show(shift, c);
    // The door cells over it, as the direct drawing has them: the light, then the door's tile.
    drawDoorLights(c);
    drawTiles(c, TileCells::kDoors);
    return true;
}

void World::drawDoorLights(float c) const {
    // The lights lie behind the door tiles and show through their transparent parts. One batch for all
    // five: each room's quads carry their own colours, so the batching changes no pixel.
    setFlatColour(1.0f, 1.0f, 1.0f, 1.0f);
    glBegin(GL_QUADS);
    for (int i = 0; i < kRoomCount; ++i) {
        const DoorLight& light = kDoorLights[i];
        const float base = static_cast<float>(topWallRow(i));
        const float bottom = (base + light.bandBottom) * c;
        const float top = (base + light.bandTop) * c;
        const float left = static_cast<float>(kDoorColumn) * c;
        const float right = left + c;
        glColor4f(light.r, light.g, light.b, 1.0f);
        vertex2D(left, bottom);
        vertex2D(right, bottom);
        glColor4f(tintCurrent[0], tintCurrent[1], tintCurrent[2], 1.0f);
        vertex2D(right, top);
        vertex2D(left, top);
        quad(left, top, right, (base + 1.0f) * c);
    }
    glEnd();
}

void World::drawTiles(float c, TileCells which) const {
    // Room 0 is drawn green-tinted, everything above untinted. Within each of the two bands the cells
    // go out grouped by picture, one bind and one batch per picture: cells never overlap, so the order
    // changes no pixel, and binds are what a software renderer pays for.
    setFlatColour(0.5f, 1.0f, 0.5f, 1.0f);
    drawTileRows(0, kTintedRows, c, which);
    setFlatColour(1.0f, 1.0f, 1.0f, 1.0f);
    drawTileRows(kTintedRows, kGridHeight, c, which);
    unbindTexture();
}

void World::drawTileRows(int firstRow, int endRow, float c, TileCells which) const {
    struct Cell {
        Texture* texture;
        int x, y;
    };
    Cell cells[kGridWidth * kGridHeight];
    int count = 0;
    for (int y = firstRow; y < endRow; ++y) {
        for (int x = 0; x < kGridWidth; ++x) {
            if ((which == TileCells::kDoors && !isDoorCell(x, y)) ||
                (which == TileCells::kStaleInKeptPicture && !fieldLayer_.stale().cell[x][y])) {
                continue;
            }
            cells[count++] = {cellTextures[x][y][cellFrame[x][y]], x, y};
        }
    }
    // By picture, then in the rows' own order, so that every frame submits the same way.
    std::sort(cells, cells + count, [](const Cell& a, const Cell& b) {
        if (a.texture != b.texture) {
            return std::less<const Texture*>()(a.texture, b.texture);
        }
        return a.y != b.y ? a.y < b.y : a.x < b.x;
    });
    static const float kTexCoords[4][2] = {{0.0f, 1.0f}, {1.0f, 1.0f}, {1.0f, 0.0f}, {0.0f, 0.0f}};
    for (int i = 0; i < count;) {
        cells[i].texture->bind();
        glBegin(GL_QUADS);
        const Texture* texture = cells[i].texture;
        for (; i < count && cells[i].texture == texture; ++i) {
            const float left = static_cast<float>(cells[i].x) * c;
            const float bottom = static_cast<float>(cells[i].y) * c;
            const float corners[4][2] = {
                {left, bottom}, {left + c, bottom}, {left + c, bottom + c}, {left, bottom + c}};
            for (int k = 0; k < 4; ++k) {
                glTexCoord2f(kTexCoords[k][0], kTexCoords[k][1]);
                vertex2D(corners[k][0], corners[k][1]);
            }
        }
        glEnd();
    }
}

void World::drawItems(float c) const {
    for (int i = 0; i < kRoomCount; ++i) {
        if (!itemPresent[i] || !(itemAnim[i] < 1.0f)) {
            continue;
        }
        const float o = itemAnim[i];
        // The item slides one cell towards its taker, at its room's coarseness like the avatars.
        const float offsetX = itemTakenFromSide[i] ? snapTowardsZero(-o, i) : 0.0f;
        const float offsetY = itemTakenFromSide[i] ? 0.0f : snapTowardsZero(o, i);
        float alpha = i == 3 ? 1.0f - o : 1.0f;
        if ((i == 3 || i == 4) && o == 0.0f && itemBlinkedOff(SDL_GetTicks())) {
            alpha = 0.0f;
        }
        const int frame = std::min(3, static_cast<int>(4.0f * o));
        const float centreX = (static_cast<float>(kItemColumn) + 0.5f) * c + offsetX * c;
        const float centreY = (static_cast<float>(itemRow(i)) + 0.5f) * c + offsetY * c;
        static const float kSquare[4][2] = {{-0.5f, -0.5f}, {0.5f, -0.5f}, {0.5f, 0.5f}, {-0.5f, 0.5f}};
        float corners[4][2];
        for (int k = 0; k < 4; ++k) {
            Vec3 corner(0.0f, kSquare[k][0] * c, kSquare[k][1] * c);
            if (i == 0) {
                // Room 0's item spins and shrinks away.
                corner.rotate(1.5f * kPi * o, 0.0f, 0.0f);
                corner.scale(1.0f - o * o * o);
            }
            corners[k][0] = centreX + corner.y;
            corners[k][1] = centreY + corner.z;
        }
        if (i == 0) {
            setFlatColour(0.5f, 1.0f, 0.5f, alpha);
        } else {
            setFlatColour(1.0f, 1.0f, 1.0f, alpha);
        }
        itemTextures[i][frame]->bind();
        texturedQuad(corners);
    }
    unbindTexture();
}

void World::drawCrawlers(float c) {
    // All swarms go out in one batch, black but for the young crawlers' own colours.
    setFlatColour(0.0f, 0.0f, 0.0f, 1.0f);
    crawlerBatch_.draw(crawlers, c, tintCurrent);
}

void World::drawMasks(float c) const {
    drawMask(roomReveal, 2.0f, 12.0f, c);
    // The outside strips, left and right of the rooms.
    drawMask(outsideReveal, -1.0f, 2.0f, c);
    drawMask(outsideReveal, 12.0f, 15.0f, c);
}
