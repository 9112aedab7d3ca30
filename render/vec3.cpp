// Vec3 arithmetic and the Euler-angle turns. Rotations work in polar form one coordinate plane at a
// time, rounding to float after each plane, so that every build turns vectors to the same bits.
#include "render/vec3.h"

#include <cmath>

#include "app/random.h"

namespace {
const float kTwoPi = 6.2831855f;

// Turns the point (a, b) of one coordinate plane by angle, counter-clockwise from a toward b.
void turnInPlane(float& a, float& b, float angle) {
    const float r = std::hypot(a, b);
    const float phi = std::atan2(b, a);
    a = r * std::cos(phi + angle);
    b = r * std::sin(phi + angle);
}

// Moves c by a full turn when the direct way from c to t is longer than the way round.
float shorterArcStart(float c, float t) {
    if (t > c) {
        if ((t - c) > c + (kTwoPi - t)) {
            return c + kTwoPi;
        }
    } else if ((c - t) > t + (kTwoPi - c)) {
        return c - kTwoPi;
    }
    return c;
}
} // namespace

void Vec3::add(const Vec3& v) {
    add(v.x, v.y, v.z);
}

void Vec3::add(float vx, float vy, float vz) {
    x += vx;
    y += vy;
    z += vz;
}

void Vec3::sub(const Vec3& v) {
    sub(v.x, v.y, v.z);
}

void Vec3::sub(float vx, float vy, float vz) {
    x -= vx;
    y -= vy;
    z -= vz;
}

void Vec3::scale(float s) {
    x *= s;
    y *= s;
    z *= s;
}

void Vec3::divide(float s) {
    x /= s;
    y /= s;
    z /= s;
}

void Vec3::multiply(const Vec3& v) {
    multiply(v.x, v.y, v.z);
}

void Vec3::multiply(float vx, float vy, float vz) {
    x *= vx;
    y *= vy;
    z *= vz;
}

void Vec3::divideBy(const Vec3& v) {
    divideBy(v.x, v.y, v.z);
}

void Vec3::divideBy(float vx, float vy, float vz) {
    x /= vx;
    y /= vy;
    z /= vz;
}

float Vec3::dot(const Vec3& v) const {
    return dot(v.x, v.y, v.z);
}

float Vec3::dot(float vx, float vy, float vz) const {
    return x * vx + y * vy + z * vz;
}

void Vec3::cross(const Vec3& v) {
    cross(v.x, v.y, v.z);
}

void Vec3::cross(float vx, float vy, float vz) {
    const float cx = y * vz - z * vy;
    const float cy = z * vx - x * vz;
    const float cz = x * vy - y * vx;
    set(cx, cy, cz);
}

float Vec3::length() const {
    return std::sqrt(x * x + y * y + z * z);
}

void Vec3::rotate(const Vec3& angles) {
    rotate(angles.x, angles.y, angles.z);
}

void Vec3::rotate(float ax, float ay, float az) {
    turnInPlane(y, z, ax);
    turnInPlane(z, x, ay);
    turnInPlane(x, y, az);
}

void Vec3::unrotate(const Vec3& angles) {
    unrotate(angles.x, angles.y, angles.z);
}

void Vec3::unrotate(float ax, float ay, float az) {
    turnInPlane(x, y, -az);
    turnInPlane(z, x, -ay);
    turnInPlane(y, z, -ax);
}

void Vec3::setAnglesToward(const Vec3& from, const Vec3& to) {
    const float dx = to.x - from.x;
    const float dy = to.y - from.y;
    const float dz = to.z - from.z;
    set(0.0f, std::atan2(-dz, std::hypot(dx, dy)), std::atan2(dy, dx));
}

void Vec3::reflect(const Vec3& n) {
    reflect(n.x, n.y, n.z);
}

void Vec3::reflect(float nx, float ny, float nz) {
    const float len = length();
    divide(len);
    const float twiceAlong = 2.0f * dot(nx, ny, nz);
    sub(twiceAlong * nx, twiceAlong * ny, twiceAlong * nz);
    scale(len);
}

void Vec3::removeComponent(const Vec3& n) {
    removeComponent(n.x, n.y, n.z);
}

void Vec3::removeComponent(float nx, float ny, float nz) {
    const float along = dot(nx, ny, nz);
    sub(along * nx, along * ny, along * nz);
}

void Vec3::wrapAnglesToward(Vec3& target) {
    set(wrapPositive(x, kTwoPi), wrapPositive(y, kTwoPi), wrapPositive(z, kTwoPi));
    target.set(wrapPositive(target.x, kTwoPi), wrapPositive(target.y, kTwoPi),
               wrapPositive(target.z, kTwoPi));
    set(shorterArcStart(x, target.x), shorterArcStart(y, target.y), shorterArcStart(z, target.z));
}
