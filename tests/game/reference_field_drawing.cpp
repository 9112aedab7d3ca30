// The frozen cell-by-cell drawing of the play frame.
#include "tests/game/reference_field_drawing.h"

#include <SDL/SDL.h>
#include <SDL/SDL_opengl.h>
#include <algorithm>
#include <cmath>

#include "app/services.h"
#include "app/viewport.h"
#include "game/avatar.h"
#include "game/world.h"
#include "game/world_tables.h"
#include "render/render_state.h"
#include "render/texture.h"
#include "render/vec3.h"

namespace {
// The game's fixed data and rules (door lights, snap steps, the item's blink) come from its tables:
// what is frozen here is the drawing, the thing the comparison holds the game to.
const float kPi = 3.14159265f;

void vertex(float u, float v) {
    glVertex3f(0.0f, u, v);
}

void quad(float left, float bottom, float right, float top) {
    vertex(left, bottom);
    vertex(right, bottom);
    vertex(right, top);
    vertex(left, top);
}

void texturedQuad(const float corners[4][2]) {
    static const float kTexCoords[4][2] = {{0.0f, 1.0f}, {1.0f, 1.0f}, {1.0f, 0.0f}, {0.0f, 0.0f}};
    glBegin(GL_QUADS);
    for (int i = 0; i < 4; ++i) {
        glTexCoord2f(kTexCoords[i][0], kTexCoords[i][1]);
        vertex(corners[i][0], corners[i][1]);
    }
    glEnd();
}

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

void drawDoorLights(const World& world, float c) {
    setFlatColour(1.0f, 1.0f, 1.0f, 1.0f);
    for (int i = 0; i < kRoomCount; ++i) {
        const DoorLight& light = kDoorLights[i];
        const float base = static_cast<float>(4 * i + 3);
        const float bottom = (base + light.bandBottom) * c;
        const float top = (base + light.bandTop) * c;
        glBegin(GL_QUADS);
        glColor4f(light.r, light.g, light.b, 1.0f);
        vertex(4.0f * c, bottom);
        vertex(5.0f * c, bottom);
        glColor4f(world.tintCurrent[0], world.tintCurrent[1], world.tintCurrent[2], 1.0f);
        vertex(5.0f * c, top);
        vertex(4.0f * c, top);
        quad(4.0f * c, top, 5.0f * c, (base + 1.0f) * c);
        glEnd();
    }
}

void drawTiles(const World& world, float c) {
    setFlatColour(0.5f, 1.0f, 0.5f, 1.0f);
    for (int y = 0; y < kGridHeight; ++y) {
        for (int x = 0; x < kGridWidth; ++x) {
            world.cellTextures[x][y][world.cellFrame[x][y]]->bind();
            const float left = static_cast<float>(x) * c;
            const float bottom = static_cast<float>(y) * c;
            const float corners[4][2] = {
                {left, bottom}, {left + c, bottom}, {left + c, bottom + c}, {left, bottom + c}};
            texturedQuad(corners);
        }
        if (y == 3) {
            setFlatColour(1.0f, 1.0f, 1.0f, 1.0f);
        }
    }
    unbindTexture();
}

void drawItems(const World& world, float c) {
    for (int i = 0; i < kRoomCount; ++i) {
        if (!world.itemPresent[i] || !(world.itemAnim[i] < 1.0f)) {
            continue;
        }
        const float o = world.itemAnim[i];
        const float offsetX = world.itemTakenFromSide[i] ? snapTowardsZero(-o, i) : 0.0f;
        const float offsetY = world.itemTakenFromSide[i] ? 0.0f : snapTowardsZero(o, i);
        float alpha = i == 3 ? 1.0f - o : 1.0f;
        if ((i == 3 || i == 4) && o == 0.0f && itemBlinkedOff(SDL_GetTicks())) {
            alpha = 0.0f;
        }
        const int frame = std::min(3, static_cast<int>(4.0f * o));
        const float centreX = 10.5f * c + offsetX * c;
        const float centreY = (4.0f * i + 1.5f) * c + offsetY * c;
        static const float kSquare[4][2] = {{-0.5f, -0.5f}, {0.5f, -0.5f}, {0.5f, 0.5f}, {-0.5f, 0.5f}};
        float corners[4][2];
        for (int k = 0; k < 4; ++k) {
            Vec3 corner(0.0f, kSquare[k][0] * c, kSquare[k][1] * c);
            if (i == 0) {
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
        world.itemTextures[i][frame]->bind();
        texturedQuad(corners);
    }
    unbindTexture();
}

void drawAvatar(const Avatar& avatar) {
    if (avatar.exited) {
        return;
    }
    const float c = theViewport->height / 21.0f;
    if (avatar.index == 0) {
        setFlatColour(0.5f, 1.0f, 0.5f, 1.0f);
    } else {
        setFlatColour(1.0f, 1.0f, 1.0f, 1.0f);
    }
    int frame = 0;
    if (avatar.animProgress != 0.0f) {
        frame = std::min(3, std::max(0, static_cast<int>((1.0f - avatar.animProgress) * 4.0f)));
    }
    float dx = 0.0f;
    float dy = 0.0f;
    if (avatar.animState == Avatar::kStep) {
        const float p = avatar.animProgress;
        static const float kBackX[4] = {1.0f, -1.0f, 0.0f, 0.0f};
        static const float kBackY[4] = {0.0f, 0.0f, -1.0f, 1.0f};
        dx = snapTowardsZero(kBackX[avatar.facing] * p, avatar.index);
        dy = snapTowardsZero(kBackY[avatar.facing] * p, avatar.index);
    }
    avatar.frameTextures[avatar.facing][avatar.animState][frame]->bind();
    const float left = (static_cast<float>(avatar.x) + dx) * c;
    const float bottom = (static_cast<float>(avatar.y) + dy) * c;
    const float corners[4][2] = {
        {left, bottom}, {left + c, bottom}, {left + c, bottom + c}, {left, bottom + c}};
    texturedQuad(corners);
    unbindTexture();
}
} // namespace

void drawReferencePlayFrame(const World& world) {
    // The one black quad over the window is the viewport's own (the play screen clears instead).
    setFlatColour(0.0f, 0.0f, 0.0f, 1.0f);
    theViewport->fillArea();
    const float width = theViewport->width;
    const float height = theViewport->height;

    const float c = height / 21.0f;
    const float shift = std::round(width * 0.5f) - 14.0f * c * 0.5f;
    glPushMatrix();
    glTranslatef(0.0f, shift, 0.0f);
    drawDoorLights(world, c);
    drawTiles(world, c);
    for (const Avatar* avatar : world.avatars) {
        drawAvatar(*avatar);
    }
    drawItems(world, c);
    drawMask(world.roomReveal, 2.0f, 12.0f, c);
    drawMask(world.outsideReveal, -1.0f, 2.0f, c);
    drawMask(world.outsideReveal, 12.0f, 15.0f, c);
    glPopMatrix();
}
