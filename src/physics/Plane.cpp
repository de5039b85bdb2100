#include "physics/Plane.h"

#include <cmath>

#include "physics/BoundingSphere.h"

Plane::Plane(const Vector3& p1, const Vector3& p2, const Vector3& p3)
    : normal((p3 - p2).cross(p2 - p1)), point(p1) {
    normal.normalize();
}

Plane::Plane(const Vector3& normal_, const Vector3& point_) : normal(normal_), point(point_) {}

bool Plane::collideWithRay(const Vector3& start, const Vector3& end, float& t) {
    const float d = normal.dot(end - start);
    if (d == 0.0f) {
        return false;
    }
    t = normal.dot(point - start) / d;
    return true;
}

bool Plane::collideWithSphere(const float& radius, const Vector3& from, const Vector3& to, float& t) {
    const float d0 = distancePointPlane(from);
    const float d1 = distancePointPlane(to);
    if (d0 == radius) {
        if (d1 < radius) {
            t = 0.0f;
            return true;
        }
        t = 2.0f;
        return false;
    }
    if (d0 * d1 > 0.0f && std::fabs(d0) > radius && std::fabs(d1) > radius) {
        return false;
    }
    t = (d0 - radius) / (d0 - d1);
    return true;
}

bool Plane::collideWithSphere(BoundingSphere* sphere) {
    return std::fabs(distancePointPlane(sphere->center)) < static_cast<float>(sphere->radius);
}

bool Plane::collideFrontWithSphere(BoundingSphere* sphere) {
    const float d = distancePointPlane(sphere->center);
    return static_cast<float>(sphere->radius) > d && d > 0.0f;
}

// Difference of two single-precision dot products, not dot(n, v - point):
// the collision code was tuned against this rounding.
float Plane::distancePointPlane(const Vector3& v) {
    const float a = normal.dot(v);
    const float b = normal.dot(point);
    return a - b;
}

