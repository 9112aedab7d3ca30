// The perspective camera: fog, clearing, projection and view.
#include "render/camera.h"

#include <GL/glu.h>
#include <SDL/SDL_opengl.h>
#include <cmath>

#include "render/light.h"

namespace {
const float kDegreesPerRadian = 57.29578f;
const float kRadiansPerDegree = 0.017453292f;
} // namespace

Camera::Camera() {
    glHint(GL_FOG_HINT, GL_FASTEST);
    glFogi(GL_FOG_MODE, GL_LINEAR);
}

void Camera::setAspect(float width, float height) {
    aspect = width / height;
}

float Camera::verticalFieldOfView() const {
    // The horizontal angle is the one that stays put when the window's shape changes.
    return 2.0f * std::atan(std::tan(fieldOfView * 0.5f * kRadiansPerDegree) / aspect) * kDegreesPerRadian;
}

void Camera::apply(bool clear) {
    if (fogEnabled) {
        const GLfloat fogColour[] = {backgroundColour[0], backgroundColour[1], backgroundColour[2], 1.0f};
        glEnable(GL_FOG);
        glFogf(GL_FOG_START, fogStart);
        glFogf(GL_FOG_END, fogEnd);
        glFogfv(GL_FOG_COLOR, fogColour);
    } else {
        glDisable(GL_FOG);
    }
    if (clear) {
        glClearColor(backgroundColour[0], backgroundColour[1], backgroundColour[2], 1.0f);
        glClearDepth(1.0);
        glDepthFunc(GL_LEQUAL);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(verticalFieldOfView(), aspect, nearPlane, farPlane);

    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    // From here +X looks into the screen, +Y points left and +Z up.
    glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);
    glRotatef(90.0f, 0.0f, 0.0f, 1.0f);
    glRotatef(-angles.x * kDegreesPerRadian, 1.0f, 0.0f, 0.0f);
    glRotatef(-angles.y * kDegreesPerRadian, 0.0f, 1.0f, 0.0f);
    glRotatef(-angles.z * kDegreesPerRadian, 0.0f, 0.0f, 1.0f);
    glTranslatef(-position.x, -position.y, -position.z);

    placeLights();
    glEnable(GL_DEPTH_TEST);
}
