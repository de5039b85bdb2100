#pragma once

#include "sg/SgEntity.h"

// A node with a model-view transform (translate, then rotate, then scale) and
// an optional bounding sphere that prunes collision queries for its subtree.
class SgSpatialEntity : public SgEntity {
public:
    SgSpatialEntity(std::string name, const Vector3& position, const Vector3& rotationAxis,
                    float rotationAngle, const Vector3& scale);

    void transform(GLRenderer* renderer);
    void render(GLRenderer* renderer) override;
    void collideWith(SgPhysEntity* entity, BoundingSphere* sphere, bool fromRoot) override;

    Vector3 rotationAxis;
    float rotationAngle;  // degrees
    Vector3 scale;
    Vector3 position;
    BoundingSphere* boundingSphere;
};
