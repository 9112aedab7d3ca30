// Vec3: three floats for positions, offsets and Euler-angle triples (radians, applied X then Y then Z).
// A plain value with in-place operations; no operation guards against zero divisors or zero lengths,
// which give IEEE infinities or not-a-number as the arithmetic dictates.
#pragma once

struct Vec3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    Vec3() = default;
    Vec3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}

    void set(float x_, float y_, float z_) { x = x_, y = y_, z = z_; }

    void add(const Vec3& v);
    void add(float vx, float vy, float vz);
    void sub(const Vec3& v);
    void sub(float vx, float vy, float vz);
    void scale(float s);
    void divide(float s);
    void multiply(const Vec3& v);
    void multiply(float vx, float vy, float vz);
    void divideBy(const Vec3& v);
    void divideBy(float vx, float vy, float vz);
    float dot(const Vec3& v) const;
    float dot(float vx, float vy, float vz) const;
    // this = this x v
    void cross(const Vec3& v);
    void cross(float vx, float vy, float vz);
    float length() const;

    // Turns the vector about X by angles.x, then Y by angles.y, then Z by angles.z (right-handed).
    void rotate(const Vec3& angles);
    void rotate(float ax, float ay, float az);
    // The exact inverse of rotate with the same triple.
    void unrotate(const Vec3& angles);
    void unrotate(float ax, float ay, float az);
    // Makes this the angle triple that turns +X to point from `from` toward `to` (roll always 0).
    void setAnglesToward(const Vec3& from, const Vec3& to);
    // Mirrors about the plane through the origin with unit normal n, keeping the length.
    void reflect(const Vec3& n);
    void reflect(float nx, float ny, float nz);
    // Removes the component along the unit vector n.
    void removeComponent(const Vec3& n);
    void removeComponent(float nx, float ny, float nz);
    // Wraps this and target into [0, 2pi) and shifts this by 2pi where needed, so that interpolating
    // straight from this toward target takes the shorter way round. Changes target too.
    void wrapAnglesToward(Vec3& target);
};
