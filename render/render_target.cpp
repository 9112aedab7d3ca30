// The offscreen picture: a framebuffer object with one RGBA texture.
//
// The desktop's GL 1.x headers do not declare the framebuffer calls, so they are asked of the GL by name,
// once, the way SDL hands them out: the core names where the GL is 3.0 or newer or has
// GL_ARB_framebuffer_object, else the GL_EXT_framebuffer_object names (the same enums), and glClipControl
// where the GL is 4.5 or has GL_ARB_clip_control. In the browser WebGL always has framebuffer objects
// and they are linked directly.
#ifdef __EMSCRIPTEN__
#define GL_GLEXT_PROTOTYPES 1
#endif
#include "render/render_target.h"

#include <SDL/SDL.h>
#include <SDL/SDL_opengl.h>
#include <cstdlib>
#include <cstring>

#include "render/render_state.h"
#include "render/texture.h"

namespace {
const GLenum kFramebuffer = 0x8D40;        // GL_FRAMEBUFFER
const GLenum kFramebufferBinding = 0x8CA6; // GL_FRAMEBUFFER_BINDING
const GLenum kColourAttachment0 = 0x8CE0;  // GL_COLOR_ATTACHMENT0
const GLenum kFramebufferComplete = 0x8CD5;

const GLenum kClipOrigin = 0x935C;    // GL_CLIP_ORIGIN
const GLenum kClipDepthMode = 0x935D; // GL_CLIP_DEPTH_MODE
const GLenum kUpperLeft = 0x8CA2;     // GL_UPPER_LEFT

// Whether the window being drawn (framebuffer `bound` while the caller draws it) keeps its rows from the
// top. Mesa keeps a window system's framebuffer so: it turns the vertical axis as the last step of the
// viewport transform and turns its fill rule with it, and its rasterizer rounds corners and decides
// shared edges in the turned coordinates. A framebuffer object keeps its rows from the bottom, so a
// picture drawn into one the usual way differs from that window along edges and texel boundaries.
// Drawn with the clip origin at the upper left (glClipControl), the GL turns the picture exactly as it
// turns that window, fill rule included, and the pixels are the same (shown back upside down).
// sdl12-compat gives an SDL 1.2 program a framebuffer object of its own as the window (bound while it
// draws), and the browser's WebGL draws the canvas into one too: both the right way up, like the
// picture.
bool windowRowsFromTop(GLint bound) {
#ifdef __EMSCRIPTEN__
    (void)bound;
    return false;
#else
    return bound == 0;
#endif
}

#ifdef __EMSCRIPTEN__
struct FramebufferCalls {
    bool found = true;
    void gen(GLuint* name) const { glGenFramebuffers(1, name); }
    void remove(const GLuint* name) const { glDeleteFramebuffers(1, name); }
    void bindTo(GLuint name) const { glBindFramebuffer(kFramebuffer, name); }
    void attach(GLuint texture) const {
        glFramebufferTexture2D(kFramebuffer, kColourAttachment0, GL_TEXTURE_2D, texture, 0);
    }
    GLenum status() const { return glCheckFramebufferStatus(kFramebuffer); }
    // WebGL has no clip control; its pictures never need turning.
    bool canTurnRows() const { return false; }
    void clip(GLenum, GLenum) const {}
};

const FramebufferCalls& framebufferCalls() {
    static const FramebufferCalls calls;
    return calls;
}
#else
extern "C" {
typedef void(APIENTRY* GenFramebuffers)(GLsizei, GLuint*);
typedef void(APIENTRY* DeleteFramebuffers)(GLsizei, const GLuint*);
typedef void(APIENTRY* BindFramebuffer)(GLenum, GLuint);
typedef void(APIENTRY* FramebufferTexture2D)(GLenum, GLenum, GLenum, GLuint, GLint);
typedef GLenum(APIENTRY* CheckFramebufferStatus)(GLenum);
typedef void(APIENTRY* ClipControl)(GLenum, GLenum);
}

struct FramebufferCalls {
    bool found = false;
    GenFramebuffers genFramebuffers = nullptr;
    DeleteFramebuffers deleteFramebuffers = nullptr;
    BindFramebuffer bindFramebuffer = nullptr;
    FramebufferTexture2D framebufferTexture2D = nullptr;
    CheckFramebufferStatus checkFramebufferStatus = nullptr;
    ClipControl clipControl = nullptr; // none without GL 4.5 or GL_ARB_clip_control

    void gen(GLuint* name) const { genFramebuffers(1, name); }
    void remove(const GLuint* name) const { deleteFramebuffers(1, name); }
    void bindTo(GLuint name) const { bindFramebuffer(kFramebuffer, name); }
    void attach(GLuint texture) const {
        framebufferTexture2D(kFramebuffer, kColourAttachment0, GL_TEXTURE_2D, texture, 0);
    }
    GLenum status() const { return checkFramebufferStatus(kFramebuffer); }
    bool canTurnRows() const { return clipControl != nullptr; }
    void clip(GLenum origin, GLenum depth) const { clipControl(origin, depth); }
};

// Whether the space-separated extension list names exactly this extension.
bool hasExtension(const char* list, const char* name) {
    const size_t length = std::strlen(name);
    for (const char* at = list; (at = std::strstr(at, name)) != nullptr; at += length) {
        const bool starts = at == list || at[-1] == ' ';
        const bool ends = at[length] == ' ' || at[length] == '\0';
        if (starts && ends) {
            return true;
        }
    }
    return false;
}

template <typename Call>
void lookUp(Call& call, const char* name, const char* suffix) {
    char full[64];
    std::strcpy(full, name);
    std::strcat(full, suffix);
    call = reinterpret_cast<Call>(SDL_GL_GetProcAddress(full));
}

FramebufferCalls findFramebufferCalls() {
    FramebufferCalls calls;
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    if (version == nullptr) {
        return calls;
    }
    const char* suffix = nullptr;
    if (std::atoi(version) >= 3 || (extensions != nullptr && hasExtension(extensions, "GL_ARB_framebuffer_object"))) {
        suffix = "";
    } else if (extensions != nullptr && hasExtension(extensions, "GL_EXT_framebuffer_object")) {
        suffix = "EXT";
    } else {
        return calls;
    }
    lookUp(calls.genFramebuffers, "glGenFramebuffers", suffix);
    lookUp(calls.deleteFramebuffers, "glDeleteFramebuffers", suffix);
    lookUp(calls.bindFramebuffer, "glBindFramebuffer", suffix);
    lookUp(calls.framebufferTexture2D, "glFramebufferTexture2D", suffix);
    lookUp(calls.checkFramebufferStatus, "glCheckFramebufferStatus", suffix);
    if (std::atof(version) >= 4.5 || (extensions != nullptr && hasExtension(extensions, "GL_ARB_clip_control"))) {
        lookUp(calls.clipControl, "glClipControl", "");
    }
    calls.found = calls.genFramebuffers != nullptr && calls.deleteFramebuffers != nullptr &&
                  calls.bindFramebuffer != nullptr && calls.framebufferTexture2D != nullptr &&
                  calls.checkFramebufferStatus != nullptr;
    return calls;
}

// Looked up on first use, with the window's GL current; the game keeps one GL for its whole run.
const FramebufferCalls& framebufferCalls() {
    static const FramebufferCalls calls = findFramebufferCalls();
    return calls;
}
#endif
} // namespace

RenderTarget::~RenderTarget() {
    release();
}

void RenderTarget::release() {
    if (framebuffer_ != 0) {
        framebufferCalls().remove(&framebuffer_);
        framebuffer_ = 0;
    }
    if (texture_ != 0) {
        glDeleteTextures(1, &texture_);
        texture_ = 0;
    }
    width_ = 0;
    height_ = 0;
}

bool RenderTarget::resize(int width, int height) {
    release();
    const FramebufferCalls& calls = framebufferCalls();
    if (!calls.found || width <= 0 || height <= 0) {
        return false;
    }
    GLint outerTexture = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &outerTexture);
    GLint outerFramebuffer = 0;
    glGetIntegerv(kFramebufferBinding, &outerFramebuffer);

    glGenTextures(1, &texture_);
    glBindTexture(GL_TEXTURE_2D, texture_);
    // Shown back one texel per pixel: nearest sampling gives each pixel its own texel.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(outerTexture));

    calls.gen(&framebuffer_);
    calls.bindTo(framebuffer_);
    calls.attach(texture_);
    const bool complete = calls.status() == kFramebufferComplete;
    calls.bindTo(static_cast<GLuint>(outerFramebuffer));
    // Made while the window is bound, as it is drawn.
    upsideDown_ = windowRowsFromTop(outerFramebuffer);
    if (!complete || texture_ == 0 || framebuffer_ == 0 || (upsideDown_ && !calls.canTurnRows())) {
        release();
        return false;
    }
    width_ = width;
    height_ = height;
    return true;
}

void RenderTarget::begin() {
    glGetIntegerv(kFramebufferBinding, &outerFramebuffer_);
    glGetIntegerv(GL_VIEWPORT, outerViewport_);
    framebufferCalls().bindTo(framebuffer_);
    glViewport(0, 0, width_, height_);
    if (upsideDown_) {
        glGetIntegerv(kClipOrigin, &outerClipOrigin_);
        glGetIntegerv(kClipDepthMode, &outerClipDepth_);
        framebufferCalls().clip(kUpperLeft, static_cast<GLenum>(outerClipDepth_));
    }
}

void RenderTarget::end() {
    if (upsideDown_) {
        framebufferCalls().clip(static_cast<GLenum>(outerClipOrigin_), static_cast<GLenum>(outerClipDepth_));
    }
    framebufferCalls().bindTo(static_cast<GLuint>(outerFramebuffer_));
    glViewport(outerViewport_[0], outerViewport_[1], outerViewport_[2], outerViewport_[3]);
}

void RenderTarget::show(int left, int right) const {
    if (texture_ == 0 || right <= left) {
        return;
    }
    // Window pixels as units, so that the corners fall on pixel edges and each pixel's centre samples
    // the middle of its own texel.
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, width_, 0, height_, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();

    // Opaque: the texels are the finished pixels, alpha included.
    setFlatColour(1.0f, 1.0f, 1.0f, 1.0f);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture_);
    const float s0 = static_cast<float>(left) / static_cast<float>(width_);
    const float s1 = static_cast<float>(right) / static_cast<float>(width_);
    // The window's bottom row is the picture's top one when it was drawn upside down.
    const float tBottom = upsideDown_ ? 1.0f : 0.0f;
    const float tTop = 1.0f - tBottom;
    glBegin(GL_QUADS);
    glTexCoord2f(s0, tBottom);
    glVertex2f(static_cast<float>(left), 0.0f);
    glTexCoord2f(s1, tBottom);
    glVertex2f(static_cast<float>(right), 0.0f);
    glTexCoord2f(s1, tTop);
    glVertex2f(static_cast<float>(right), static_cast<float>(height_));
    glTexCoord2f(s0, tTop);
    glVertex2f(static_cast<float>(left), static_cast<float>(height_));
    glEnd();
    glBindTexture(GL_TEXTURE_2D, 0);
    unbindTexture();

    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}
