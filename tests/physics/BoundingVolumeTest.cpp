#include <cmath>
#include <random>

#include <gtest/gtest.h>

#include "physics/BoundingBox.h"
#include "physics/BoundingSphere.h"
#include "physics/Plane.h"

namespace {
// The unit cube: faces at 0 and 1 on every axis, centre (0.5, 0.5, 0.5).
BoundingBox unitBox() { return BoundingBox(Vector3(0, 0, 0), Vector3(1, 1, 1)); }

void expectVec(const Vector3& v, float x, float y, float z) {
    EXPECT_FLOAT_EQ(v.x, x);
    EXPECT_FLOAT_EQ(v.y, y);
    EXPECT_FLOAT_EQ(v.z, z);
}
}  // namespace

TEST(BoundingBox, FacesPointOutwardFromTheirSides) {
    BoundingBox b(Vector3(-1, -2, -3), Vector3(4, 5, 6));
    struct Face {
        const Plane& plane;
        Vector3 normal;
        Vector3 outside;
    };
    const Face faces[] = {{b.planePosX, {1, 0, 0}, {4.5f, 0, 0}}, {b.planeNegX, {-1, 0, 0}, {-1.5f, 0, 0}},
                          {b.planePosY, {0, 1, 0}, {0, 5.5f, 0}}, {b.planeNegY, {0, -1, 0}, {0, -2.5f, 0}},
                          {b.planePosZ, {0, 0, 1}, {0, 0, 6.5f}}, {b.planeNegZ, {0, 0, -1}, {0, 0, -3.5f}}};
    for (const Face& f : faces) {
        Plane p = f.plane;
        expectVec(p.normal, f.normal.x, f.normal.y, f.normal.z);
        EXPECT_FLOAT_EQ(p.distancePointPlane(f.outside), 0.5f);
        EXPECT_FALSE(p.onBackSide(f.outside));
        EXPECT_TRUE(p.onBackSide(b.center));
    }
    expectVec(b.center, 1.5f, 1.5f, 1.5f);
    expectVec(b.corners[6], 4, 5, 6);
    expectVec(b.corners[3], -1, -2, 6);
}

TEST(Plane, PointsOnThePlaneCountAsBackSideAndTouchingIsStrict) {
    Plane p(Vector3(0, 1, 0), Vector3(0, 2, 0));
    EXPECT_TRUE(p.onBackSide(Vector3(7, 2, -3)));
    EXPECT_FALSE(p.onBackSide(Vector3(0, 2.001f, 0)));

    BoundingSphere touching(Vector3(0, 3, 0), 1.0), reaching(Vector3(0, 2.9f, 0), 1.0),
        below(Vector3(0, 1.5f, 0), 1.0), onPlane(Vector3(0, 2, 0), 1.0);
    EXPECT_FALSE(p.collideWithSphere(&touching));
    EXPECT_TRUE(p.collideWithSphere(&reaching));
    EXPECT_TRUE(p.collideWithSphere(&below));
    EXPECT_FALSE(p.collideFrontWithSphere(&touching)) << "radius > d is strict";
    EXPECT_TRUE(p.collideFrontWithSphere(&reaching));
    EXPECT_FALSE(p.collideFrontWithSphere(&below)) << "only from the front";
    EXPECT_FALSE(p.collideFrontWithSphere(&onPlane)) << "d > 0 is strict";
}

TEST(Plane, RayAndSweptSphereParameters) {
    Plane p(Vector3(0, 1, 0), Vector3(0, 0, 0));
    float t = 42.0f;
    EXPECT_FALSE(p.collideWithRay(Vector3(0, 1, 0), Vector3(5, 1, 0), t)) << "parallel";
    EXPECT_EQ(t, 42.0f) << "parallel leaves t untouched";
    EXPECT_TRUE(p.collideWithRay(Vector3(0, 4, 0), Vector3(0, 2, 0), t));
    EXPECT_FLOAT_EQ(t, 2.0f) << "beyond the segment: the caller range-checks";

    struct Case {
        float fromY, toY;
        bool hit;
        float t;
    };
    // Radius 1 sphere moving along y against the plane y = 0.
    const Case cases[] = {
        {1.0f, 0.5f, true, 0.0f},    // starts touching, moves in
        {1.0f, 1.0f, false, 2.0f},   // starts touching, stays
        {1.0f, 3.0f, false, 2.0f},   // starts touching, moves away
        {3.0f, 1.0f, true, 1.0f},    // touches at the end of the move
        {3.0f, 0.0f, true, 2.0f / 3.0f},
        {5.0f, 3.0f, false, 42.0f},  // clear of the plane: t untouched
    };
    for (const Case& c : cases) {
        t = 42.0f;
        EXPECT_EQ(p.collideWithSphere(1.0f, Vector3(0, c.fromY, 0), Vector3(0, c.toY, 0), t), c.hit)
            << c.fromY << " -> " << c.toY;
        EXPECT_FLOAT_EQ(t, c.t) << c.fromY << " -> " << c.toY;
    }
}

TEST(BoundingBox, RayTestsMeetTheSurfaceAndPickTheFirstEntry) {
    BoundingBox b = unitBox();
    float t = 42.0f;
    Vector3 n(9, 9, 9);

    EXPECT_TRUE(b.collideWithRay(Vector3(0.5f, 3, 0.5f), Vector3(0.5f, 1, 0.5f), t, &n))
        << "an end point exactly on a face is inside";
    EXPECT_FLOAT_EQ(t, 1.0f);
    expectVec(n, 0, 1, 0);
    EXPECT_TRUE(b.collideWithRay(Vector3(0.5f, 3, 0.5f), Vector3(0.5f, 1, 0.5f)));

    t = 42.0f;
    EXPECT_FALSE(b.collideWithRay(Vector3(-1, 2, 0.5f), Vector3(3, 2, 0.5f), t, &n)) << "parallel, above";
    EXPECT_EQ(t, 42.0f) << "no entry leaves t untouched";
    EXPECT_FALSE(b.collideWithRay(Vector3(0.2f, 0.2f, 0.2f), Vector3(0.8f, 0.8f, 0.8f)))
        << "a segment wholly inside never meets the surface";
    EXPECT_TRUE(b.collideWithRay(Vector3(0.5f, 0.5f, 0.5f), Vector3(0.5f, 0.5f, 3)));
    EXPECT_TRUE(b.collideWithRay(Vector3(-1, 0.5f, 0.5f), Vector3(2, 0.5f, 0.5f), t, nullptr));
    EXPECT_FLOAT_EQ(t, 1.0f / 3.0f);

    // Segments through an edge hit two faces at the same t: the face that
    // comes first in the order negZ, negY, posY, posX, negX, posZ wins.
    struct Tie {
        Vector3 from, to, normal;
    };
    const Tie ties[] = {
        {{0.5f, -1, -1}, {0.5f, 1, 1}, {0, 0, -1}},   // negZ before negY
        {{0.5f, -1, 2}, {0.5f, 1, 0}, {0, -1, 0}},    // negY before posZ
        {{2, 2, 0.5f}, {0, 0, 0.5f}, {0, 1, 0}},      // posY before posX
        {{2, 0.5f, -1}, {0, 0.5f, 1}, {0, 0, -1}},    // negZ before posX
        {{-1, 0.5f, 2}, {1, 0.5f, 0}, {-1, 0, 0}},    // negX before posZ
    };
    for (const Tie& c : ties) {
        ASSERT_TRUE(b.collideWithRay(c.from, c.to, t, &n));
        EXPECT_FLOAT_EQ(t, 0.5f);
        expectVec(n, c.normal.x, c.normal.y, c.normal.z);
    }
}

TEST(BoundingBox, SweptSphereHitsFacesEdgesAndHonoursSkipFlags) {
    BoundingBox b = unitBox();
    float t = 42.0f;
    Vector3 n(9, 9, 9);

    // Starting exactly one radius from the top: moving in hits at 0, away not.
    EXPECT_TRUE(b.collideWithSphere(0.5f, Vector3(0.5f, 1.5f, 0.5f), Vector3(0.5f, 1.2f, 0.5f), t, &n, false,
                                    false, false));
    EXPECT_FLOAT_EQ(t, 0.0f);
    expectVec(n, 0, 1, 0);
    n = Vector3(9, 9, 9);
    EXPECT_FALSE(b.collideWithSphere(0.5f, Vector3(0.5f, 1.5f, 0.5f), Vector3(0.5f, 2, 0.5f), t, &n, false,
                                     false, false));
    EXPECT_EQ(t, 2.0f);
    expectVec(n, 9, 9, 9);

    // Falling onto the top: skipY lets it pass the top and bottom faces.
    EXPECT_TRUE(b.collideWithSphere(0.5f, Vector3(0.5f, 3, 0.5f), Vector3(0.5f, 1, 0.5f), t, &n, false, false,
                                    false));
    EXPECT_FLOAT_EQ(t, 0.75f);
    EXPECT_FALSE(b.collideWithSphere(0.5f, Vector3(0.5f, 3, 0.5f), Vector3(0.5f, 1, 0.5f), t, &n, false, true,
                                     false));
    EXPECT_EQ(t, 2.0f);

    // A sphere grazing the top edge while moving along x: with all faces the
    // contact point (pulled down by the summed top normal) lies on the box; with
    // skipY it is taken straight sideways, above the box, and all six planes
    // still judge it outside.
    const Vector3 from(2, 1.3f, 0.5f), to(0.5f, 1.3f, 0.5f);
    EXPECT_TRUE(b.collideWithSphere(0.5f, from, to, t, &n, false, false, false));
    EXPECT_FLOAT_EQ(t, 1.0f / 3.0f);
    expectVec(n, 1, 0, 0);
    EXPECT_FALSE(b.collideWithSphere(0.5f, from, to, t, &n, false, true, false));
    EXPECT_FALSE(b.collideWithSphere(0.5f, Vector3(2, 0.5f, 0.5f), Vector3(0.5f, 0.5f, 0.5f), t, &n, false,
                                     false, true))
        << "skipX ignores the side it moves into";

    // Two faces reached at the same fraction: the earlier face wins.
    EXPECT_TRUE(b.collideWithSphere(0.5f, Vector3(0.5f, -1, -1), Vector3(0.5f, 0, 0), t, &n, false, false,
                                    false));
    EXPECT_FLOAT_EQ(t, 0.5f);
    expectVec(n, 0, 0, -1);
    EXPECT_TRUE(b.collideWithSphere(0.5f, Vector3(2, 2, 0.5f), Vector3(1, 1, 0.5f), t, &n, false, false, false));
    expectVec(n, 0, 1, 0);
}

TEST(BoundingVolumes, OverlapTests) {
    BoundingSphere a(Vector3(0, 0, 0), 1.0), touching(Vector3(3, 0, 0), 2.0), overlapping(Vector3(2.9f, 0, 0), 2.0);
    EXPECT_FALSE(a.collideWith(&touching)) << "touching spheres do not collide";
    EXPECT_TRUE(a.collideWith(&overlapping));
    EXPECT_TRUE(overlapping.collideWith(&a));

    BoundingBox box(Vector3(0, 0, 0), Vector3(2, 2, 2)), other(Vector3(0, 0, 0), Vector3(2, 2, 2));
    EXPECT_FALSE(box.collideWith(&other)) << "box-box overlap is not supported";

    struct Case {
        Vector3 center;
        double radius;
        bool overlaps;
    };
    const Case cases[] = {
        {{1, 1, 1}, 0.01, true},        // centre inside
        {{2, 1, 1}, 0.01, true},        // centre on a face counts as inside
        {{3, 1, 1}, 1.0, true},         // reaches the face exactly: inclusive
        {{3, 1, 1}, 0.99, false},
        // Measured along the line to the box centre, not to the closest point:
        // the closest point is 1.02 away, the entry along that line 1.17.
        {{3, 2.2f, 1}, 1.1, false},
        {{3, 2.2f, 1}, 1.2, true},
    };
    for (const Case& c : cases) {
        BoundingSphere s(c.center, c.radius);
        EXPECT_EQ(box.collideWith(&s), c.overlaps) << c.center.x << "," << c.center.y << " r=" << c.radius;
        EXPECT_EQ(s.collideWith(&box), c.overlaps);
    }

    BoundingSphere side(Vector3(2.3f, 1, 1), 0.5), top(Vector3(1, 2.3f, 1), 0.5);
    EXPECT_TRUE(box.collideWithFrontPlanes(&side));
    EXPECT_FALSE(box.collideWithFrontPlanes(&top)) << "top and bottom are not front planes";
}

TEST(BoundingBox, PushOutOfSunkenSpheres) {
    BoundingBox b(Vector3(0, 0, 0), Vector3(4, 2, 4));

    BoundingSphere resting(Vector3(2, 2.5f, 2), 0.5);
    EXPECT_FALSE(b.borderInsideBox(&resting)) << "lowest point exactly on the top pushes by 0";
    expectVec(resting.center, 2, 2.5f, 2);

    struct Case {
        Vector3 center;
        Vector3 pushed;
    };
    const Case cases[] = {
        {{2, 2.25f, 2}, {2, 2.5f, 2}},        // sunk into the top
        {{4.25f, 1, 2}, {4.5f, 1, 2}},        // sunk into the +x side
        {{2, 1, -0.375f}, {2, 1, -0.5f}},     // sunk into the -z side
        {{2, -0.25f, 2}, {2, -0.5f, 2}},      // risen into the bottom
        // Deep inside: the deepest penetration wins (3.5 through +z)...
        {{3.75f, 1.875f, 1}, {3.75f, 1.875f, 4.5f}},
        // ...and of two equally deep ones (2.5 through -z and +z) the first.
        {{3.75f, 1.875f, 2}, {3.75f, 1.875f, -0.5f}},
    };
    for (const Case& c : cases) {
        BoundingSphere s(c.center, 0.5);
        EXPECT_TRUE(b.borderInsideBox(&s));
        expectVec(s.center, c.pushed.x, c.pushed.y, c.pushed.z);
    }

    BoundingSphere outside(Vector3(6, 1, 2), 0.5);
    EXPECT_FALSE(b.centerInsideBox(&outside));
    // The bottom is nearest (0.25) but never a way out: out through the top.
    BoundingSphere low(Vector3(2, 0.25f, 2), 0.5);
    EXPECT_TRUE(b.centerInsideBox(&low));
    expectVec(low.center, 2, 2.5f, 2);
    BoundingSphere nearSide(Vector3(3.9f, 1, 2), 0.5);
    EXPECT_TRUE(b.centerInsideBox(&nearSide));
    expectVec(nearSide.center, 4.5f, 1, 2);
    BoundingSphere nearTop(Vector3(1, 1.75f, 2), 0.5);
    EXPECT_TRUE(b.centerInsideBox(&nearTop));
    expectVec(nearTop.center, 1, 2.5f, 2);
}

// Entry and contact points are computed to lie on the face they hit; rounded,
// they land a hair outside it about as often as inside. Such hits must count.
TEST(BoundingBoxProperty, HitsOnAFaceSurviveRounding) {
    std::mt19937 rng(5);
    std::uniform_real_distribution<float> spread(-3.0f, 3.0f), within(0.05f, 0.95f);
    for (int i = 0; i < 50000; ++i) {
        const Vector3 a(spread(rng), spread(rng), spread(rng));
        const Vector3 b = a + Vector3(within(rng) * 2 + 0.1f, within(rng) * 2 + 0.1f, within(rng) * 2 + 0.1f);
        BoundingBox box(a, b);
        // A segment from above through a point well inside the top face.
        const Vector3 onTop(a.x + (b.x - a.x) * within(rng), b.y, a.z + (b.z - a.z) * within(rng));
        const Vector3 start(onTop.x + spread(rng), b.y + 0.5f + std::fabs(spread(rng)), onTop.z + spread(rng));
        const Vector3 end = onTop + (onTop - start) * 0.5f;
        float t = 0.0f;
        ASSERT_TRUE(box.collideWithRay(start, end)) << "case " << i;
        ASSERT_TRUE(box.collideWithRay(start, end, t, nullptr)) << "case " << i;
        BoundingSphere nearTop(Vector3(box.center.x, b.y + 0.25f, box.center.z), 0.5);
        ASSERT_TRUE(box.collideWith(&nearTop)) << "case " << i;
    }

    // A ball falling onto a top face whose contact point rounds just above it.
    const float top = -0x1.aff38p-3f;
    BoundingBox floor(Vector3(-1, top - 2.0f, -1), Vector3(1, top, 1));
    const Vector3 from(0, 0x1.30eae2p-2f, 0);
    float t = 0.0f;
    Vector3 n;
    ASSERT_TRUE(floor.collideWithSphere(0.5f, from, from + Vector3(0, -0x1.128fdp-5f, 0), t, &n, false, false,
                                        false));
    EXPECT_NEAR(t, 0.259f, 1e-3f);
    expectVec(n, 0, 1, 0);
}
