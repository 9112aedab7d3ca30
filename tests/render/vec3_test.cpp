// Vec3 arithmetic, the plane-by-plane turns and the angle helpers.
#include "render/vec3.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {
const float kPi = 3.14159265f;
const float kTwoPi = 6.2831855f;

void expectNear(const Vec3& v, float x, float y, float z, float tolerance = 1e-5f) {
    EXPECT_NEAR(v.x, x, tolerance);
    EXPECT_NEAR(v.y, y, tolerance);
    EXPECT_NEAR(v.z, z, tolerance);
}
} // namespace

TEST(Vec3, ArithmeticInBothForms) {
    Vec3 v(1, 2, 3);
    v.add(Vec3(1, 1, 1));
    v.add(0.5f, 0, -1);
    expectNear(v, 2.5f, 3, 3);
    v.sub(0.5f, 1, 1);
    v.sub(Vec3(1, 1, 1));
    expectNear(v, 1, 1, 1);
    v.multiply(2, 3, 4);
    v.multiply(Vec3(1, 2, 0.5f));
    expectNear(v, 2, 6, 2);
    v.divideBy(Vec3(2, 3, 2));
    v.divideBy(1, 2, 0.5f);
    expectNear(v, 1, 1, 2);
    v.scale(3);
    v.divide(2);
    expectNear(v, 1.5f, 1.5f, 3);
    EXPECT_FLOAT_EQ(v.dot(Vec3(2, 0, 1)), 6);
    EXPECT_FLOAT_EQ(v.dot(0, 2, 0), 3);
    EXPECT_FLOAT_EQ(Vec3(3, 4, 0).length(), 5);
}

TEST(Vec3, CrossFollowsTheRightHand) {
    Vec3 v(1, 0, 0);
    v.cross(Vec3(0, 1, 0));
    expectNear(v, 0, 0, 1);
    v.cross(1, 0, 0);
    expectNear(v, 0, 1, 0);
    Vec3 w(1, 2, 3);
    w.cross(4, 5, 6);
    expectNear(w, -3, 6, -3);
}

TEST(Vec3, DivideByZeroGivesInfinityAndNotANumber) {
    Vec3 v(1, 0, 0);
    v.divide(0);
    EXPECT_TRUE(std::isinf(v.x));
    EXPECT_GT(v.x, 0);
    EXPECT_TRUE(std::isnan(v.y));
    EXPECT_TRUE(std::isnan(v.z));
    Vec3 w(-2, 1, 0);
    w.divideBy(0, 1, 0);
    EXPECT_TRUE(std::isinf(w.x));
    EXPECT_LT(w.x, 0);
    EXPECT_FLOAT_EQ(w.y, 1);
    EXPECT_TRUE(std::isnan(w.z));
}

TEST(Vec3, RotationTurnsEachAxisTowardTheNext) {
    Vec3 v(1, 0, 0);
    v.rotate(0, 0, kPi / 2);
    expectNear(v, 0, 1, 0);
    v.set(0, 0, 1);
    v.rotate(Vec3(0, kPi / 2, 0));
    expectNear(v, 1, 0, 0);
    v.set(0, 1, 0);
    v.rotate(kPi / 2, 0, 0);
    expectNear(v, 0, 0, 1);
    // A zero vector stays zero rather than turning into not-a-number.
    v.set(0, 0, 0);
    v.rotate(1, 2, 3);
    expectNear(v, 0, 0, 0, 0);
}

TEST(Vec3, RotationAppliesXThenYThenZ) {
    // X first turns +Y onto +Z, Y then turns +Z onto +X, Z then turns +X onto +Y.
    Vec3 v(0, 1, 0);
    v.rotate(kPi / 2, kPi / 2, kPi / 2);
    expectNear(v, 0, 1, 0);
    // In the order Z, Y, X the same turns would take +Y to -Y.
    Vec3 w(0, 0, 1);
    w.rotate(kPi / 2, kPi / 2, kPi / 2);
    expectNear(w, 1, 0, 0);
    Vec3 len(3, -4, 12);
    len.rotate(0.3f, -1.1f, 2.5f);
    EXPECT_NEAR(len.length(), 13, 1e-4f);
}

TEST(Vec3, UnrotateUndoesRotate) {
    const Vec3 starts[] = {Vec3(1, 2, 3), Vec3(-4, 0.5f, 0), Vec3(0, 0, -7), Vec3(0.001f, -9, 2)};
    const Vec3 triples[] = {Vec3(0.3f, -1.2f, 2.9f), Vec3(-3, 0.1f, 0), Vec3(kPi, kPi / 2, -kPi)};
    for (const Vec3& start : starts) {
        for (const Vec3& angles : triples) {
            Vec3 v = start;
            v.rotate(angles);
            v.unrotate(angles);
            expectNear(v, start.x, start.y, start.z, 1e-4f);
            v.unrotate(angles.x, angles.y, angles.z);
            v.rotate(angles.x, angles.y, angles.z);
            expectNear(v, start.x, start.y, start.z, 1e-4f);
        }
    }
}

TEST(Vec3, AnglesTowardPointPlusXAtTheTarget) {
    Vec3 a;
    a.setAnglesToward(Vec3(0, 0, 0), Vec3(0, 0, 5));
    expectNear(a, 0, -kPi / 2, 0);
    a.setAnglesToward(Vec3(1, 1, 0), Vec3(1, 3, 0));
    expectNear(a, 0, 0, kPi / 2);
    const Vec3 from(1, -2, 0.5f);
    const Vec3 to(-3, 4, 2);
    a.setAnglesToward(from, to);
    EXPECT_EQ(a.x, 0);
    Vec3 forward(1, 0, 0);
    forward.rotate(a);
    Vec3 d = to;
    d.sub(from);
    d.divide(d.length());
    expectNear(forward, d.x, d.y, d.z);
}

TEST(Vec3, ReflectAndRemoveComponent) {
    Vec3 v(3, -4, 0);
    v.reflect(Vec3(0, 1, 0));
    expectNear(v, 3, 4, 0, 1e-5f);
    v.set(1, 1, 2);
    v.reflect(0, 0, 1);
    expectNear(v, 1, 1, -2, 1e-5f);
    Vec3 zero;
    zero.reflect(0, 0, 1);
    EXPECT_TRUE(std::isnan(zero.x));
    v.set(2, 3, 5);
    v.removeComponent(Vec3(0, 0, 1));
    expectNear(v, 2, 3, 0);
    v.set(1, 1, 0);
    v.removeComponent(0.70710678f, 0.70710678f, 0);
    expectNear(v, 0, 0, 0);
}

TEST(Vec3, WrapAnglesTowardTakesTheShorterArc) {
    Vec3 c(0.1f, 0, 0);
    Vec3 t(6.2f, 0, 0);
    c.wrapAnglesToward(t);
    expectNear(c, 0.1f + kTwoPi, 0, 0);
    expectNear(t, 6.2f, 0, 0);

    c.set(1, 0, 0);
    t.set(2, 0, 0);
    c.wrapAnglesToward(t);
    expectNear(c, 1, 0, 0, 0);

    // -1 is first wrapped to 2pi - 1; the target 0.5 is then nearer the other way round.
    c.set(-1, 0, 0);
    t.set(2 * kPi - 1.5f, 0, 0);
    c.wrapAnglesToward(t);
    expectNear(c, kTwoPi - 1, 0, 0);
    c.set(-1, 0, 0);
    t.set(0.5f, 0, 0);
    c.wrapAnglesToward(t);
    expectNear(c, -1, 0, 0);

    // The target is wrapped too, and each component is handled on its own.
    c.set(6.0f, 5.0f, 0.2f);
    t.set(-0.2f, 7.0f, 3.4f);
    c.wrapAnglesToward(t);
    expectNear(t, kTwoPi - 0.2f, 7.0f - kTwoPi, 3.4f);
    expectNear(c, 6.0f, 5.0f - kTwoPi, 0.2f + kTwoPi);
}
