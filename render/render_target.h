// RenderTarget: an offscreen picture the size of the window, drawn into through a framebuffer object and
// shown again one texel per window pixel. What is drawn into it lands on exactly the pixels it would in
// the window (same viewport, the caller's matrices and state; upside down where the window keeps its
// rows from the top), so showing it gives the window's pixels.
#pragma once

class RenderTarget {
public:
    RenderTarget() = default;
    ~RenderTarget();
    RenderTarget(const RenderTarget&) = delete;
    RenderTarget& operator=(const RenderTarget&) = delete;

    // Makes the picture width x height pixels (the window's size), dropping what it held; called while
    // the window is bound. False where the GL has no framebuffer objects, will not complete one of that
    // size, or cannot turn it as it turns the window (no clip control): the caller draws directly.
    bool resize(int width, int height);
    // Whether resize last succeeded.
    bool ready() const { return framebuffer_ != 0; }
    int width() const { return width_; }
    int height() const { return height_; }

    // From begin to end the drawing goes into the picture, with the viewport over the whole of it (and,
    // where the window keeps its rows from the top, the projection and front face turned upside down);
    // end puts back the framebuffer, viewport, projection and front face begin found.
    void begin();
    void end();
    // Draws the columns [left, right) of the picture, every row, onto the same window pixels: opaque,
    // nearest texel, under matrices of its own (the caller's are put back). Leaves the flat colour opaque
    // white, no texture bound and texturing, alpha test and blending off, as unbindTexture leaves them.
    void show(int left, int right) const;

    // Gives the framebuffer and texture back to the GL.
    void release();

private:
    unsigned framebuffer_ = 0;
    unsigned texture_ = 0;
    int width_ = 0;
    int height_ = 0;
    int outerFramebuffer_ = 0;
    int outerViewport_[4] = {0, 0, 0, 0};
    int outerClipOrigin_ = 0;
    int outerClipDepth_ = 0;
    bool upsideDown_ = false; // drawn upside down, as the window keeps its rows
};
