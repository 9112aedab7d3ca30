// The 2D projection shared by all screens.
#include "app/viewport.h"

#include <SDL/SDL_opengl.h>

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
    glVertex3f(0, 0, 0);
    glVertex3f(0, width, 0);
    glVertex3f(0, width, height);
    glVertex3f(0, 0, height);
    glEnd();
}

void Viewport::clearOpaque(float r, float g, float b) const {
    // The logical area always maps onto the whole window, so a clear reaches exactly what a quad over
    // it would.
    glClearColor(r, g, b, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
}
