#include "physics/SgPhysEntity.h"

#include "physics/SgParticle.h"
#include "physics/SgParticleController.h"
#include "physics/SgPhysController.h"

SgPhysEntity::SgPhysEntity(std::string name_, const Vector3& position_, float reserved_, float radius)
    : SgSpatialEntity(std::move(name_), position_, Vector3(0, 0, 0), 0.0f, Vector3(1, 1, 1)),
      sphereRadius(radius),
      velocity(0, 0, 0),
      move(0, 0, 0),
      reserved(reserved_),
      friction(0.1f),
      bounceLoss(0.3f),
      grounded(false) {
    type = SG_PHYS_ENTITY;
    boundingSphere = new BoundingSphere(position_, radius);
}

SgPhysEntity::~SgPhysEntity() { delete boundingSphere; }

void SgPhysEntity::update(double dt) {
    if (parent == nullptr) {
        return;
    }
    if (parent->getType() == SG_PHYS_CONTROLLER) {
        static_cast<SgPhysController*>(parent)->updateVelocity(this, dt);
    } else if (parent->getType() == SG_PARTICLE_CONTROLLER && type == SG_PARTICLE) {
        static_cast<SgParticleController*>(parent)->updateVelocity(static_cast<SgParticle*>(this), dt);
    }
}

void SgPhysEntity::collide() {
    if (parent == nullptr) {
        return;
    }
    // Inflated by this frame's travel so the maze gathers every wall the ball
    // can reach before it moves.
    BoundingSphere query(position, move.length() + sphereRadius);
    parent->collideWith(this, &query, true);
}

bool SgPhysEntity::collideAndRespondTo(BoundingBox* box, bool& contact) {
    if (parent == nullptr) {
        return false;
    }
    if (parent->getType() == SG_PHYS_CONTROLLER) {
        return static_cast<SgPhysController*>(parent)->collideAndRespond(this, box, contact);
    }
    if (parent->getType() == SG_PARTICLE_CONTROLLER) {
        return static_cast<SgParticleController*>(parent)->collideAndRespond(this, box, contact);
    }
    return false;
}

void SgPhysEntity::updatePosition() {
    if (parent == nullptr) {
        return;
    }
    if (parent->getType() == SG_PHYS_CONTROLLER) {
        static_cast<SgPhysController*>(parent)->updatePosition(this);
    } else if (parent->getType() == SG_PARTICLE_CONTROLLER) {
        static_cast<SgParticleController*>(parent)->updatePosition(this);
    }
}

void SgPhysEntity::resizeBoundingSphere(float r) { boundingSphere->radius = r; }

SgPhysEntity::WallResolution SgPhysEntity::resolveAgainstWalls(const std::vector<BoundingBox*>& boxes,
                                                               int maxPasses) {
    WallResolution result;
    bool again = true;
    while (again && result.passes < maxPasses) {
        again = false;
        ++result.passes;
        for (BoundingBox* box : boxes) {
            bool contact = false;
            if (collideAndRespondTo(box, contact)) {
                again = true;
            }
            if (contact) {
                ++result.contacts;
            }
        }
    }
    if (result.contacts == 0 && grounded) {
        grounded = false;
    }
    updatePosition();
    return result;
}
