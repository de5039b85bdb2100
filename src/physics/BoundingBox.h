#pragma once

#include "physics/BoundingVolume.h"
#include "physics/Plane.h"
#include "sg/Vector3.h"

// Axis-aligned box described by six outward-facing planes; every test goes
// through the planes. Faces are numbered in one fixed order (negZ, negY, posY,
// posX, negX, posZ) and ties between equal hit parameters favour the earlier.
class BoundingBox : public BoundingVolume {
public:
    // minCorner must be smaller than maxCorner on every axis, or the planes
    // face inwards on that axis.
    BoundingBox(const Vector3& minCorner, const Vector3& maxCorner);

    bool collideWith(BoundingBox* box) override;
    bool collideWith(BoundingSphere* sphere) override;
    bool collideWithRay(const Vector3& start, const Vector3& end);
    bool collideWithRay(const Vector3& start, const Vector3& end, float& t, Vector3* normal);
    bool collideWithSphere(float radius, const Vector3& from, const Vector3& to, float& t, Vector3* normal,
                           bool skipZ, bool skipY, bool skipX);
    bool borderInsideBox(BoundingSphere* sphere);
    bool centerInsideBox(BoundingSphere* sphere);
    bool collideWithFrontPlanes(BoundingSphere* sphere);
    void render();

    Vector3 corner;
    Vector3 corners[8];
    Vector3 center;
    Plane planePosX;
    Plane planeNegX;
    Plane planePosY;
    Plane planeNegY;
    Plane planePosZ;
    Plane planeNegZ;
};
