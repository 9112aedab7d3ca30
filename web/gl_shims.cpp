// The few fixed-function GL calls the game makes that the browser's GL emulation does not provide.
// Each does what the game needs of it in a WebGL context.
#include <SDL/SDL_opengl.h>

namespace {
GLint savedUnpackAlignment = 4;
} // namespace

extern "C" {
// WebGL has no client attribute stack; the only client state the game saves is the unpack alignment
// around a texture upload.
void glPushClientAttrib(GLbitfield) {
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &savedUnpackAlignment);
}
void glPopClientAttrib() {
    glPixelStorei(GL_UNPACK_ALIGNMENT, savedUnpackAlignment);
}

// The emulation's lighting knows two-sided lighting only, and always lights as from a viewer at
// infinity.
void glLightModeli(GLenum name, GLint value) {
    if (name == GL_LIGHT_MODEL_TWO_SIDE) {
        glLightModelf(name, static_cast<GLfloat>(value));
    }
}

// No display lists: glGenLists gives 0, which the mesh drawing takes as "draw directly every time".
GLuint glGenLists(GLsizei) {
    return 0;
}
void glNewList(GLuint, GLenum) {}
void glEndList() {}
void glCallList(GLuint) {}
void glDeleteLists(GLuint, GLsizei) {}
}
