// The 2D projection shared by all screens.
#include "app/viewport.h"

#include <SDL/SDL_opengl.h>

void vertex2D(float u, float v) {
    const ModelPoint p = modelPoint2D(u, v);
    glVertex3f(p.x, p.y, p.z);
}

void Viewport::begin2D() const {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width, 0, height, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotatef(-90, 1, 0, 0);
    glRotatef(-90, 0, 0, 1);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_FOG);
}

void Viewport::fillArea() const {
    glBegin(GL_QUADS);
    vertex2D(0, 0);
    vertex2D(width, 0);
    vertex2D(width, height);
    vertex2D(0, height);
    glEnd();
}

void Viewport::clearOpaque(float r, float g, float b) const {
    // The logical area always maps onto the whole window, so a clear reaches exactly what a quad over
    // it would.
    glClearColor(r, g, b, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
}
