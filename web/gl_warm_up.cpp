// Warming the browser's GL: one tiny draw per way of drawing the play screen's first frame.
#include "web/gl_warm_up.h"

#include <SDL/SDL_opengl.h>
#include <emscripten.h>

#include <cstdint>

namespace {
// The browser's GL keeps recording draws into the window until something ends its drawing there; a
// flush alone is put off until then. Clearing a one-pixel offscreen picture ends it, and the flush
// after it sends the draws on, to be compiled and run while the game goes on setting up. Only the
// framebuffer binding changes, and it is back to the window's before this returns.
EM_JS(void, tavok_submit_window_drawing, (), {
    var gl = GLctx;
    var picture = gl.createTexture();
    gl.bindTexture(gl.TEXTURE_2D, picture);
    gl.texImage2D(gl.TEXTURE_2D, 0, gl.RGBA, 1, 1, 0, gl.RGBA, gl.UNSIGNED_BYTE, null);
    var framebuffer = gl.createFramebuffer();
    gl.bindFramebuffer(gl.FRAMEBUFFER, framebuffer);
    gl.framebufferTexture2D(gl.FRAMEBUFFER, gl.COLOR_ATTACHMENT0, gl.TEXTURE_2D, picture, 0);
    gl.clear(gl.COLOR_BUFFER_BIT);
    gl.bindFramebuffer(gl.FRAMEBUFFER, null);
    gl.bindTexture(gl.TEXTURE_2D, null);
    gl.deleteFramebuffer(framebuffer);
    gl.deleteTexture(picture);
    gl.flush();
});

// A quad of a few pixels in the lower left corner, counter-clockwise as the game's quads (culling is on).
void cornerQuad(bool colourPerCorner, bool textured) {
    static const float kCorners[4][2] = {{-1.0f, -1.0f}, {-0.98f, -1.0f}, {-0.98f, -0.98f}, {-1.0f, -0.98f}};
    if (!colourPerCorner) {
        glColor4f(1.0f, 1.0f, 1.0f, 0.5f);
    }
    glBegin(GL_QUADS);
    for (const auto& corner : kCorners) {
        if (colourPerCorner) {
            glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        }
        if (textured) {
            glTexCoord2f(corner[0] + 1.0f, corner[1] + 1.0f);
        }
        // The game's corners are 3D points (vertex2D), so the same three floats here.
        glVertex3f(corner[0], corner[1], 0.0f);
    }
    glEnd();
}

// A 2x2 picture made and filtered as the game's textures are.
unsigned smallTexture(bool withAlpha) {
    static const uint8_t kPixels[16] = {255, 0, 0, 255, 0, 255, 0, 0, 0, 0, 255, 255, 255, 255, 255, 128};
    unsigned name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    const GLenum format = withAlpha ? GL_RGBA : GL_RGB;
    glTexImage2D(GL_TEXTURE_2D, 0, format, 2, 2, 0, format, GL_UNSIGNED_BYTE, kPixels);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    return name;
}
} // namespace

void warmUpDrawing() {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();

    // Untextured: the door lights (a colour per corner), the masks (one colour, opaque or see-through).
    cornerQuad(true, false);
    cornerQuad(false, false);
    glEnable(GL_BLEND);
    cornerQuad(false, false);
    glDisable(GL_BLEND);

    // Pictures: opaque tiles, cut-out pictures through the alpha test, see-through ones blended.
    const unsigned opaque = smallTexture(false);
    const unsigned withAlpha = smallTexture(true);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, opaque);
    cornerQuad(false, true);
    glBindTexture(GL_TEXTURE_2D, withAlpha);
    glEnable(GL_ALPHA_TEST);
    cornerQuad(false, true);
    glDisable(GL_ALPHA_TEST);
    glEnable(GL_BLEND);
    cornerQuad(false, true);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, 0);
    glDeleteTextures(1, &opaque);
    glDeleteTextures(1, &withAlpha);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);

    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    tavok_submit_window_drawing();
}
