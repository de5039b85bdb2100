#include "physics/BoundingBox.h"

#include <cmath>

#include <GL/glew.h>

#include "physics/BoundingSphere.h"

namespace {
constexpr int faceCount = 6;
// Axis of each face in face test order: 0 = z, 1 = y, 2 = x.
constexpr int faceAxis[faceCount] = {0, 1, 1, 2, 2, 0};
}  // namespace

BoundingBox::BoundingBox(const Vector3& a, const Vector3& b)
    : corner(a),
      corners{Vector3(a.x, a.y, a.z), Vector3(b.x, a.y, a.z), Vector3(b.x, a.y, b.z), Vector3(a.x, a.y, b.z),
              Vector3(a.x, b.y, a.z), Vector3(b.x, b.y, a.z), Vector3(b.x, b.y, b.z), Vector3(a.x, b.y, b.z)},
      center(a + (b - a) / 2.0f),
      planePosX(corners[1], corners[2], corners[6]),
      planeNegX(corners[0], corners[4], corners[7]),
      planePosY(corners[4], corners[5], corners[6]),
      planeNegY(corners[0], corners[3], corners[2]),
      planePosZ(corners[6], corners[2], corners[3]),
      planeNegZ(corners[0], corners[1], corners[5]) {}

namespace {
// The six faces in face test order.
struct Faces {
    Plane* f[faceCount];
    explicit Faces(BoundingBox& b)
        : f{&b.planeNegZ, &b.planeNegY, &b.planePosY, &b.planePosX, &b.planeNegX, &b.planePosZ} {}
    bool inside(const Vector3& v) const {
        for (Plane* p : f) {
            if (!p->onBackSide(v)) {
                return false;
            }
        }
        return true;
    }
    // Inside as far as the other five faces tell. A point computed to lie on
    // face `own` (an entry or contact point on that face) is on it exactly
    // only in exact arithmetic; rounded, it lands on either side about as
    // often, and judging it by that face would randomly drop real hits.
    bool insideExcept(const Vector3& v, int own) const {
        for (int j = 0; j < faceCount; ++j) {
            if (j != own && !f[j]->onBackSide(v)) {
                return false;
            }
        }
        return true;
    }
};

bool inUnitRange(float t) { return t >= 0.0f && t <= 1.0f; }
}  // namespace

bool BoundingBox::collideWith(BoundingBox*) { return false; }

bool BoundingBox::collideWith(BoundingSphere* sphere) {
    const Faces faces(*this);
    if (faces.inside(sphere->center)) {
        return true;
    }
    float t = 0.0f;
    if (!collideWithRay(sphere->center, center, t, nullptr)) {
        return false;
    }
    return ((center - sphere->center) * t).length() <= static_cast<float>(sphere->radius);
}

bool BoundingBox::collideWithRay(const Vector3& start, const Vector3& end) {
    const Faces faces(*this);
    float t[faceCount];
    for (int i = 0; i < faceCount; ++i) {
        t[i] = 2.0f;
        faces.f[i]->collideWithRay(start, end, t[i]);
    }
    for (int i = 0; i < faceCount; ++i) {
        if (inUnitRange(t[i]) && faces.insideExcept(start + (end - start) * t[i], i)) {
            return true;
        }
    }
    return false;
}

bool BoundingBox::collideWithRay(const Vector3& start, const Vector3& end, float& tOut, Vector3* normal) {
    const Faces faces(*this);
    float t[faceCount];
    for (int i = 0; i < faceCount; ++i) {
        t[i] = 2.0f;
        faces.f[i]->collideWithRay(start, end, t[i]);
    }
    int best = -1;
    for (int i = 0; i < faceCount; ++i) {
        if (!inUnitRange(t[i])) {
            continue;
        }
        if (!faces.insideExcept(start + (end - start) * t[i], i)) {
            t[i] = 2.0f;
            continue;
        }
        if (best < 0 || t[i] < t[best]) {
            best = i;
        }
    }
    if (best < 0) {
        return false;
    }
    tOut = t[best];
    if (normal != nullptr) {
        *normal = faces.f[best]->normal;
    }
    return true;
}

bool BoundingBox::collideWithSphere(float radius, const Vector3& from, const Vector3& to, float& tOut,
                                    Vector3* normal, bool skipZ, bool skipY, bool skipX) {
    const Faces faces(*this);
    const bool skipAxis[3] = {skipZ, skipY, skipX};
    float t[faceCount];
    for (float& v : t) {
        v = 2.0f;
    }
    if (!skipZ) {
        planeNegZ.collideWithSphere(radius, from, to, t[0]);
        planePosZ.collideWithSphere(radius, from, to, t[5]);
    }
    if (!skipY) {
        planeNegY.collideWithSphere(radius, from, to, t[1]);
        planePosY.collideWithSphere(radius, from, to, t[2]);
    }
    if (!skipX) {
        planePosX.collideWithSphere(radius, from, to, t[3]);
        planeNegX.collideWithSphere(radius, from, to, t[4]);
    }
    for (int i = 0; i < faceCount; ++i) {
        if (!inUnitRange(t[i])) {
            continue;
        }
        const Vector3 c = from + (to - from) * t[i];
        // Sum of the normals of every face the centre lies in front of: beyond
        // an edge or corner the contact point moves along each of those axes.
        Vector3 n(0, 0, 0);
        for (int j = 0; j < faceCount; ++j) {
            if (!skipAxis[faceAxis[j]] && !faces.f[j]->onBackSide(c)) {
                n += faces.f[j]->normal;
            }
        }
        const Vector3 p = c + (-n) * radius;
        if (!faces.insideExcept(p, i)) {
            t[i] = 2.0f;
        }
    }
    int best = -1;
    for (int i = 0; i < faceCount; ++i) {
        if (inUnitRange(t[i]) && (best < 0 || t[i] < t[best])) {
            best = i;
            *normal = faces.f[i]->normal;
        }
    }
    if (best < 0) {
        tOut = 2.0f;
        return false;
    }
    tOut = t[best];
    return true;
}

bool BoundingBox::borderInsideBox(BoundingSphere* sphere) {
    const Faces faces(*this);
    const float r = static_cast<float>(sphere->radius);
    Plane* extreme[faceCount] = {&planePosZ, &planeNegY, &planeNegX, &planePosX, &planeNegZ, &planePosY};
    Plane* opposite[faceCount] = {&planeNegZ, &planePosY, &planePosX, &planeNegX, &planePosZ, &planeNegY};
    float best = 0.0f;
    Vector3 direction(0, 0, 0);
    for (int i = 0; i < faceCount; ++i) {
        const Vector3 p = sphere->center + extreme[i]->normal * r;
        const float d = faces.inside(p) ? opposite[i]->distancePointPlane(p) : 0.0f;
        if (best > d) {
            best = d;
            direction = opposite[i]->normal;
        }
    }
    if (best == 0.0f) {
        return false;
    }
    sphere->center = sphere->center + direction * std::fabs(best);
    return true;
}

bool BoundingBox::centerInsideBox(BoundingSphere* sphere) {
    const Faces faces(*this);
    if (!faces.inside(sphere->center)) {
        return false;
    }
    // The bottom face is never a way out: spheres are pushed up or sideways.
    Plane* candidates[5] = {&planeNegZ, &planePosY, &planePosX, &planeNegX, &planePosZ};
    Plane* nearest = candidates[0];
    float nearestDistance = std::fabs(candidates[0]->distancePointPlane(sphere->center));
    for (int i = 1; i < 5; ++i) {
        const float d = std::fabs(candidates[i]->distancePointPlane(sphere->center));
        if (d < nearestDistance) {
            nearestDistance = d;
            nearest = candidates[i];
        }
    }
    sphere->center = sphere->center + nearest->normal * nearestDistance +
                     nearest->normal * static_cast<float>(sphere->radius);
    return true;
}

bool BoundingBox::collideWithFrontPlanes(BoundingSphere* sphere) {
    return planeNegZ.collideFrontWithSphere(sphere) || planePosX.collideFrontWithSphere(sphere) ||
           planeNegX.collideFrontWithSphere(sphere) || planePosZ.collideFrontWithSphere(sphere);
}

void BoundingBox::render() {
    static const int edges[12][2] = {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {4, 5}, {5, 6},
                                     {6, 7}, {7, 4}, {0, 4}, {1, 5}, {2, 6}, {3, 7}};
    glBegin(GL_LINES);
    for (const auto& e : edges) {
        glVertex3fv(&corners[e[0]].x);
        glVertex3fv(&corners[e[1]].x);
    }
    glEnd();
    glBegin(GL_POINTS);
    glVertex3fv(&center.x);
    glEnd();
}
