// The pause menu's input, trail animation and drawing.
#include "app/pause_menu.h"

#include <SDL/SDL.h>
#include <SDL/SDL_opengl.h>
#include <algorithm>
#include <cmath>

#include "app/services.h"
#include "app/viewport.h"
#include "input/actions.h"
#include "render/render_state.h"

namespace {
// The pointer crosses from the centre to the cross in 1/6 s.
constexpr float kPointerSpeed = 6.0f;
// Each copy of the picture is three quarters the size of the one outside it.
constexpr float kNestingScale = 0.75f;
} // namespace

void PauseMenu::enter() {
    selection = false;
    std::fill(std::begin(trailPosition), std::end(trailPosition), 0.0f);
    std::fill(std::begin(trailBrightness), std::end(trailBrightness), 0.0f);
    consumeActions();
}

void PauseMenu::frame(float dt) {
    if (actionLeft() || actionRight() || actionUp() || actionDown()) {
        consumeActions();
        selection = !selection;
    }
    if (actionBack()) {
        consumeActions();
        gameMode = kModePlay;
        return;
    }
    if (actionConfirm()) {
        consumeActions();
        gameMode = selection ? kModeEnd : kModePlay;
        return;
    }
    animate(dt);
    draw();
}

void PauseMenu::animate(float dt) {
    const float step = kPointerSpeed * dt;
    if (selection) {
        trailPosition[0] = std::min(1.0f, trailPosition[0] + step);
    } else {
        trailPosition[0] = std::max(0.0f, trailPosition[0] - step);
    }
    trailBrightness[0] = 1.0f;
    // These filters advance once per frame, whatever the frame's length.
    for (int i = 1; i < kCopies; ++i) {
        trailPosition[i] = 0.5f * trailPosition[i] + 0.5f * trailPosition[i - 1];
        trailBrightness[i] = 0.8f * trailBrightness[i] + 0.2f * trailBrightness[i - 1];
    }
}

void PauseMenu::draw() const {
    theViewport->begin2D();
    setFlatColour(0, 0, 0, 1);
    theViewport->fillArea();
    // Smallest copy first, so the outer copies lie over the inner ones.
    for (int k = kCopies; k >= 1; --k) {
        drawNestedFrame(std::pow(kNestingScale, static_cast<float>(k)), trailPosition[k - 1],
                        trailBrightness[k - 1]);
    }
    SDL_GL_SwapBuffers();
}

void PauseMenu::drawNestedFrame(float a, float p, float c) const {
    // Keeps the cross and the pointer square on screen whatever the window's shape.
    const float r = theViewport->height / theViewport->width;
    const float shade = a * c;

    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(-1, 1, -1, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glScalef(1, a, a);

    setFlatColour(0.5f * shade, shade, 0.5f * shade, 1);
    glBegin(GL_LINE_LOOP);
    vertex2D(-1, -1);
    vertex2D(1, -1);
    vertex2D(1, 1);
    vertex2D(-1, 1);
    glEnd();
    glBegin(GL_LINES);
    vertex2D(-1, 0.8f);
    vertex2D(1, 0.8f);
    vertex2D(0.95f - 0.1f * r, 0.85f);
    vertex2D(0.95f, 0.95f);
    vertex2D(0.95f - 0.1f * r, 0.95f);
    vertex2D(0.95f, 0.85f);
    glEnd();

    glPushMatrix();
    glTranslatef(0, 0.925f * p, 0.9f * p);
    setFlatColour(0, 0, 0, 1);
    glBegin(GL_TRIANGLES);
    vertex2D(0, 0);
    vertex2D(0, -0.2f);
    vertex2D(0.2f * r, 0);
    glEnd();
    setFlatColour(0.5f * shade, shade, 0.5f * shade, 1);
    glBegin(GL_LINE_LOOP);
    vertex2D(0, 0);
    vertex2D(0, -0.2f);
    vertex2D(0.2f * r, 0);
    glEnd();
    glPopMatrix();

    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
}
