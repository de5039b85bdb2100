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

    // Drawing between ticks of the world: markTick, just before a tick,
    // keeps the position the tick starts from, and tickBlend gives the point
    // `fraction` (0..1) of the way from there to the position now. A node
    // that has not yet been marked (born or rebuilt in the latest tick), or
    // whose mark was forgotten, is drawn where it is.
    void markTick();
    void forgetTick() { tickStartKnown = false; }
    Vector3 tickBlend(float fraction) const;

    Vector3 rotationAxis;
    float rotationAngle;  // degrees
    Vector3 scale;
    Vector3 position;
    BoundingSphere* boundingSphere;

private:
    Vector3 tickStart;
    bool tickStartKnown = false;
};
