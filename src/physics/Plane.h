#pragma once

#include "sg/Vector3.h"

class BoundingSphere;

// Infinite oriented plane; positive signed distances lie on the front side,
// the side the normal points to.
class Plane {
public:
    // normal = normalise((p3 - p2) x (p2 - p1)), point = p1.
    Plane(const Vector3& p1, const Vector3& p2, const Vector3& p3);
    Plane(const Vector3& normal, const Vector3& point);

    bool collideWithRay(const Vector3& start, const Vector3& end, float& t);
    bool collideWithSphere(const float& radius, const Vector3& from, const Vector3& to, float& t);
    bool collideWithSphere(BoundingSphere* sphere);
    bool collideFrontWithSphere(BoundingSphere* sphere);
    float distancePointPlane(const Vector3& v);
    // A point exactly on the plane counts as the back side.
    bool onBackSide(const Vector3& v) const { return normal.dot(v - point) <= 0.0f; }

    Vector3 normal;
    Vector3 point;
};
