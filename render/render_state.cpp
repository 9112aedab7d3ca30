// Colour, material, blending decision, ambient light and stencil mask.
#include "render/render_state.h"

#include <SDL/SDL_opengl.h>

bool colourTranslucent = false;
bool textureBlends = false;

void applyBlendRule() {
    if (colourTranslucent || textureBlends) {
        glEnable(GL_BLEND);
    } else {
        glDisable(GL_BLEND);
    }
}

void setFlatColour(float r, float g, float b, float a) {
    glDisable(GL_LIGHTING);
    glColor4f(r, g, b, a);
    colourTranslucent = !(a >= 1.0f);
    applyBlendRule();
}

void setMaterial(float r, float g, float b, float a, float specular, float shininess) {
    glEnable(GL_LIGHTING);
    const GLfloat ambient[] = {r, g, b, 1.0f};
    const GLfloat diffuse[] = {r, g, b, a};
    const GLfloat specularColour[] = {specular, specular, specular, 1.0f};
    const GLfloat emission[] = {0.0f, 0.0f, 0.0f, 1.0f};
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ambient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specularColour);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, emission);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, shininess * 128.0f);
    colourTranslucent = !(a >= 1.0f);
    applyBlendRule();
}

void setAmbientLight(float r, float g, float b) {
    const GLfloat ambient[] = {r, g, b, 1.0f};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
}

void beginStencilMask() {
    glEnable(GL_STENCIL_TEST);
    glStencilFunc(GL_ALWAYS, 1, 1);
    glStencilOp(GL_KEEP, GL_KEEP, GL_REPLACE);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glDepthMask(GL_FALSE);
    glClear(GL_STENCIL_BUFFER_BIT);
}

void drawInsideStencilMask() {
    glEnable(GL_STENCIL_TEST);
    glStencilFunc(GL_EQUAL, 1, 1);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthMask(GL_TRUE);
}

void endStencilMask() {
    glDisable(GL_STENCIL_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthMask(GL_TRUE);
}
