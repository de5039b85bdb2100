#include "sg/SgSpatialEntity.h"

#include "physics/BoundingSphere.h"
#include "physics/SgPhysEntity.h"
#include "sg/GLRenderer.h"

SgSpatialEntity::SgSpatialEntity(std::string name_, const Vector3& position_, const Vector3& rotationAxis_,
                                 float rotationAngle_, const Vector3& scale_)
    : SgEntity(std::move(name_)),
      rotationAxis(rotationAxis_),
      rotationAngle(rotationAngle_),
      scale(scale_),
      position(position_),
      boundingSphere(nullptr) {
    type = SG_SPATIAL_ENTITY;
}

void SgSpatialEntity::markTick() {
    tickStart = position;
    tickStartKnown = true;
}

Vector3 SgSpatialEntity::tickBlend(float fraction) const {
    if (!tickStartKnown) {
        return position;
    }
    // w (a light's positional flag, a colour's alpha) is the current one.
    Vector3 blended = position;
    blended.x = tickStart.x + (position.x - tickStart.x) * fraction;
    blended.y = tickStart.y + (position.y - tickStart.y) * fraction;
    blended.z = tickStart.z + (position.z - tickStart.z) * fraction;
    return blended;
}

void SgSpatialEntity::transform(GLRenderer* renderer) {
    renderer->translate(position);
    if (rotationAngle != 0.0f) {
        renderer->rotate(rotationAngle, rotationAxis);
    }
    if (scale != Vector3(1, 1, 1)) {
        renderer->scale(scale);
    }
}

// Spatial nodes ignore their own active flag: they are hidden by deactivating
// a parent group or by overriding render.
void SgSpatialEntity::render(GLRenderer* renderer) {
    renderer->pushMatrix();
    transform(renderer);
    for (SgEntity* child : children) {
        child->render(renderer);
    }
    renderer->popMatrix();
}

void SgSpatialEntity::collideWith(SgPhysEntity* entity, BoundingSphere* sphere, bool fromRoot) {
    // A detached node acts as the root instead of following a null parent.
    if (fromRoot && parent != nullptr) {
        parent->collideWith(entity, sphere, true);
        return;
    }
    if (boundingSphere != nullptr && !boundingSphere->collideWith(sphere)) {
        return;
    }
    for (SgEntity* child : children) {
        if (child != static_cast<SgEntity*>(entity)) {
            child->collideWith(entity, sphere, false);
        }
    }
}
