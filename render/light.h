// Light: one of up to eight hardware lights. A light takes the lowest free GL light slot when it is
// created; a light created while all eight are taken waits, and freed slots go to waiting lights in the
// order they were created. Setters always store their value; only a light holding a slot reaches GL.
#pragma once

class Light;

// Which Light holds GL_LIGHT0 + i; null while the slot is free.
extern Light* LightSlots[8];

class Light {
public:
    Light();
    ~Light();
    Light(const Light&) = delete;
    Light& operator=(const Light&) = delete;

    // A directional light shining along (x, y, z).
    void setDirection(float x, float y, float z);
    // A point light at (x, y, z).
    void setPosition(float x, float y, float z);
    void setColour(float r, float g, float b);
    // Distance scale of the attenuation: full strength at range / 2, falling off as 1 / distance.
    void setRange(float range);

    // 0..7 while the light holds GL_LIGHT0 + slot; -1 while it waits.
    int slot() const { return slot_; }

private:
    friend void placeLights();
    void takeSlot(int slot);
    // The position GL takes, homogeneous: w = 0 for a direction, 1 for a point.
    void storePosition(float x, float y, float z, float w);
    void sendAll() const;
    void sendPosition() const;
    void sendColour() const;
    void sendRange() const;

    int slot_ = -1;
    float position_[4] = {0.0f, 0.0f, 1.0f, 0.0f};
    float colour_[3] = {1.0f, 1.0f, 1.0f};
    float range_ = 1.0f;
};

// Re-sends the position of every light holding a slot under the current modelview matrix, so that the
// lights stay put in world coordinates when the view changes (the camera does this each time it applies).
void placeLights();
