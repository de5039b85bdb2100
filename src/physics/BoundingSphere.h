#pragma once

#include "physics/BoundingVolume.h"
#include "sg/Vector3.h"

class BoundingSphere : public BoundingVolume {
public:
    BoundingSphere(const Vector3& center, double radius);

    // Strict: spheres that only touch do not collide.
    bool collideWith(BoundingSphere* other) override;
    bool collideWith(BoundingBox* box) override;
    // Debug drawing: a wire sphere at the centre.
    void draw();

    Vector3 center;
    double radius;
};
