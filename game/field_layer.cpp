// The kept picture of the field's tiles: what it holds, when it is stale, and showing it.
#include "game/field_layer.h"

#include <SDL/SDL_opengl.h>
#include <cmath>

#include "app/viewport.h"
#include "game/world.h"
#include "render/render_state.h"
#include "render/texture.h"

bool FieldLayer::update(const World& world, int windowWidth, int windowHeight, float cellSize, float shift) {
    if (windowWidth != width_ || windowHeight != height_) {
        // The first frame at a new size is drawn directly: making the picture (and the software GL's
        // first drawing into a framebuffer of another format) would otherwise delay the game's first
        // frame, which the player waits for; the next frame makes it.
        width_ = windowWidth;
        height_ = windowHeight;
        target_.release();
        refused_ = false;
        valid_ = false;
        return false;
    }
    if (!target_.ready() && !refused_) {
        // A picture of the window's size, or none: a GL that refuses one is not asked again until the
        // window changes.
        refused_ = !target_.resize(width_, height_);
        valid_ = false;
    }
    if (refused_) {
        return false;
    }
    if (cellSize != cellSize_ || shift != shift_) {
        cellSize_ = cellSize;
        shift_ = shift;
        valid_ = false;
    }
    stale_.whole = !valid_;
    stale_.count = 0;
    for (int x = 0; x < kGridWidth; ++x) {
        for (int y = 0; y < kGridHeight; ++y) {
            if (isDoorCell(x, y)) {
                stale_.cell[x][y] = false;
                continue;
            }
            const Texture* picture = world.cellTextures[x][y][world.cellFrame[x][y]];
            const unsigned name = picture->name();
            const int alpha = picture->alphaMode();
            const bool changed =
                stale_.whole || picture != shown_[x][y] || name != shownName_[x][y] || alpha != shownAlpha_[x][y];
            stale_.cell[x][y] = changed;
            if (changed) {
                stale_.count += 1;
                shown_[x][y] = picture;
                shownName_[x][y] = name;
                shownAlpha_[x][y] = alpha;
            }
        }
    }
    valid_ = true;
    return true;
}

void FieldLayer::begin(float cellSize) {
    target_.begin();
    if (stale_.whole) {
        // The play screen's black, everywhere the window has it before the field is drawn.
        GLfloat outerClear[4];
        glGetFloatv(GL_COLOR_CLEAR_VALUE, outerClear);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glClearColor(outerClear[0], outerClear[1], outerClear[2], outerClear[3]);
        return;
    }
    // The black under each cell drawn again, on exactly its pixels: the same corners as its tile.
    unbindTexture();
    setFlatColour(0.0f, 0.0f, 0.0f, 1.0f);
    glBegin(GL_QUADS);
    for (int x = 0; x < kGridWidth; ++x) {
        for (int y = 0; y < kGridHeight; ++y) {
            if (!stale_.cell[x][y]) {
                continue;
            }
            const float left = static_cast<float>(x) * cellSize;
            const float bottom = static_cast<float>(y) * cellSize;
            vertex2D(left, bottom);
            vertex2D(left + cellSize, bottom);
            vertex2D(left + cellSize, bottom + cellSize);
            vertex2D(left, bottom + cellSize);
        }
    }
    glEnd();
}

void FieldLayer::show(float shift, float cellSize) const {
    // The grid's columns with a pixel to spare on either side: beyond the tiles the picture holds the
    // same black as the window.
    int left = static_cast<int>(std::floor(shift)) - 1;
    int right = static_cast<int>(std::ceil(shift + static_cast<float>(kGridWidth) * cellSize)) + 1;
    left = left < 0 ? 0 : left;
    right = right > target_.width() ? target_.width() : right;
    target_.show(left, right);
}
