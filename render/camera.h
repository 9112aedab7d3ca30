// Camera: the 3D view (perspective projection with a horizontal field of view, fog, clearing). The game
// object creates the one camera at start-up; its construction sets the fog hint and the linear fog mode.
#pragma once

#include "render/vec3.h"

class Camera {
public:
    Camera();

    // aspect = width / height
    void setAspect(float width, float height);
    // Sets fog, clears when asked, loads projection and view, re-places the lights, enables depth test.
    void apply(bool clear);
    // The vertical angle in degrees handed to the perspective projection.
    float verticalFieldOfView() const;

    float aspect = 16.0f / 9.0f;
    Vec3 position;
    Vec3 angles;
    float fieldOfView = 90.0f; // horizontal, degrees
    float nearPlane = 0.01f;
    float farPlane = 100.0f;
    bool fogEnabled = true;
    float fogStart = 80.0f;
    float fogEnd = 100.0f;
    float backgroundColour[3] = {0.0f, 0.0f, 0.0f};
};
