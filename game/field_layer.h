// FieldLayer: the field's tiles kept as one picture from frame to frame. The tiles change rarely (a cell
// stirring, a button pressed), so they are drawn once into an offscreen picture the size of the window
// and shown each frame as one quad; only the cells whose picture changed are drawn into it again. The
// door cells stay out of it: their light follows the drifting tint every frame, so the World draws
// them (light and tile) over the kept picture itself.
//
// The picture holds exactly what the window would: the black the play screen clears to, then the
// tiles under the same matrices, colours, blending and alpha test, so showing it 1:1 gives the same
// pixels as drawing the cells.
#pragma once

#include "game/world_tables.h"
#include "render/render_target.h"

class Texture;
class World;

class FieldLayer {
public:
    // Which cells must be drawn into the picture before it is shown.
    struct Stale {
        bool whole = false;                    // everything: clear it to black and draw every cell
        bool cell[kGridWidth][kGridHeight] = {}; // else these, over a black square of their own
        int count = 0;
    };

    // Compares what the picture holds with the cells' pictures now (cellTextures at cellFrame, the door
    // cells left out), the window's size in pixels, the cell size and the shift. False when the field is
    // to be drawn directly: the first frame at a new window size (the picture is made at the next), or no
    // picture can be kept (no framebuffer objects, or none of this size). Otherwise the cells to draw are
    // in stale(), and the picture counts them as drawn from here on.
    bool update(const World& world, int windowWidth, int windowHeight, float cellSize, float shift);
    const Stale& stale() const { return stale_; }

    // Around the drawing of the stale cells: the drawing goes into the picture, which begin clears to
    // opaque black when it is stale as a whole, or else covers each stale cell with an opaque black
    // square under the current matrices.
    void begin(float cellSize);
    void end() { target_.end(); }

    // The picture over the grid's columns of the window, every row.
    void show(float shift, float cellSize) const;

private:
    RenderTarget target_;
    bool valid_ = false;
    bool refused_ = false; // no picture of this size could be made: drawn directly until the size changes
    int width_ = 0;
    int height_ = 0;
    float cellSize_ = 0.0f;
    float shift_ = 0.0f;
    // What each cell of the picture shows: the texture, and its GL name and alpha mode at the time, so
    // that a texture loaded again counts as changed.
    const Texture* shown_[kGridWidth][kGridHeight] = {};
    unsigned shownName_[kGridWidth][kGridHeight] = {};
    int shownAlpha_[kGridWidth][kGridHeight] = {};
    Stale stale_;
};
