// The eight-slot light pool with its first-come waiting list.
#include "render/light.h"

#include <SDL/SDL_opengl.h>
#include <algorithm>
#include <deque>

Light* LightSlots[8] = {};

namespace {
std::deque<Light*> waitingLights;

GLenum glLight(int slot) {
    return static_cast<GLenum>(GL_LIGHT0 + slot);
}
} // namespace

Light::Light() {
    for (int i = 0; i < 8; ++i) {
        if (LightSlots[i] == nullptr) {
            takeSlot(i);
            glEnable(glLight(i));
            return;
        }
    }
    waitingLights.push_back(this);
}

Light::~Light() {
    if (slot_ < 0) {
        waitingLights.erase(std::remove(waitingLights.begin(), waitingLights.end(), this),
                            waitingLights.end());
        return;
    }
    if (waitingLights.empty()) {
        LightSlots[slot_] = nullptr;
        glDisable(glLight(slot_));
        return;
    }
    // The slot stays enabled: the longest-waiting light takes it over with all its stored values.
    Light* next = waitingLights.front();
    waitingLights.pop_front();
    next->takeSlot(slot_);
}

void Light::takeSlot(int slot) {
    slot_ = slot;
    LightSlots[slot] = this;
    sendAll();
}

void Light::setDirection(float x, float y, float z) {
    // GL takes a direction as a position at infinity (w = 0), seen from the lit point towards the light.
    storePosition(-x, -y, -z, 0.0f);
}

void Light::setPosition(float x, float y, float z) {
    storePosition(x, y, z, 1.0f);
}

void Light::storePosition(float x, float y, float z, float w) {
    position_[0] = x;
    position_[1] = y;
    position_[2] = z;
    position_[3] = w;
    sendPosition();
}

void Light::setColour(float r, float g, float b) {
    colour_[0] = r;
    colour_[1] = g;
    colour_[2] = b;
    sendColour();
}

void Light::setRange(float range) {
    range_ = range;
    sendRange();
}

void Light::sendAll() const {
    sendPosition();
    sendColour();
    sendRange();
}

void Light::sendPosition() const {
    if (slot_ >= 0) {
        glLightfv(glLight(slot_), GL_POSITION, position_);
    }
}

void Light::sendColour() const {
    if (slot_ < 0) {
        return;
    }
    const GLfloat ambient[] = {0.0f, 0.0f, 0.0f, 1.0f};
    const GLfloat colour[] = {colour_[0], colour_[1], colour_[2], 1.0f};
    glLightfv(glLight(slot_), GL_AMBIENT, ambient);
    glLightfv(glLight(slot_), GL_DIFFUSE, colour);
    glLightfv(glLight(slot_), GL_SPECULAR, colour);
}

void Light::sendRange() const {
    if (slot_ < 0) {
        return;
    }
    glLightf(glLight(slot_), GL_CONSTANT_ATTENUATION, 0.0f);
    glLightf(glLight(slot_), GL_LINEAR_ATTENUATION, 1.0f / (range_ * 0.5f));
    glLightf(glLight(slot_), GL_QUADRATIC_ATTENUATION, 0.0f);
}

void placeLights() {
    for (Light* light : LightSlots) {
        if (light != nullptr) {
            light->sendPosition();
        }
    }
}
