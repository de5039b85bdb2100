#include "physics/SgPhysController.h"

#include <cmath>

#include "physics/BoundingBox.h"
#include "physics/BoundingSphere.h"
#include "physics/SgPhysEntity.h"
#include "physics/SgPlayer.h"

SgPhysController::SgPhysController(std::string name_)
    : SgEntity(std::move(name_)), epsilon(0.01f), gravity(20.0f) {
    type = SG_PHYS_CONTROLLER;
}

void SgPhysController::collideWith(SgPhysEntity* entity, BoundingSphere* sphere, bool fromRoot) {
    if (fromRoot && parent != nullptr) {
        parent->collideWith(entity, sphere, true);
    }
}

void SgPhysController::updateVelocity(SgPhysEntity* e, double dt) {
    if (e->grounded) {
        e->velocity.x += dt * (-e->velocity.x * e->friction);
        e->velocity.z += dt * (-e->velocity.z * e->friction);
    } else {
        e->velocity.y -= gravity * 0.5 * dt;
    }
    if (e->getType() == SG_PLAYER) {
        // Only the horizontal speed is limited; a fall keeps accelerating.
        const float maxSpeed = static_cast<SgPlayer*>(e)->maxSpeed;
        Vector3 horizontal(e->velocity.x, 0.0f, e->velocity.z);
        const float speed = horizontal.length();
        if (speed > maxSpeed && speed > 0.0f) {
            const float vy = e->velocity.y;
            horizontal.normalize();
            horizontal *= maxSpeed;
            // normalise-and-scale can round a hair above the limit; shave the
            // last bits off so the limit really holds.
            while (horizontal.length() > maxSpeed) {
                horizontal *= 1.0f - 1.0f / 8388608.0f;
            }
            e->velocity = horizontal;
            e->velocity.y = vy;
        }
    }
    e->move = e->velocity * static_cast<float>(dt);
}

bool SgPhysController::collideAndRespond(SgPhysEntity* entity, BoundingBox* box, bool& contact) {
    return respond(entity, box, contact, epsilon);
}

void SgPhysController::updatePosition(SgPhysEntity* entity) { applyMove(entity); }

bool SgPhysController::respond(SgPhysEntity* e, BoundingBox* box, bool& contact, float eps) {
    BoundingSphere* sphere = e->boundingSphere;
    const float r = static_cast<float>(sphere->radius);

    if (std::fabs(e->move.y) >= eps) {
        e->grounded = false;
    }
    if (box->borderInsideBox(sphere)) {
        e->position = sphere->center;
    }

    Vector3 from = sphere->center;
    Vector3 to = from + e->move;
    // The lowest point of the ball, reached eps further: a ball that settled
    // on a face sits there only up to the rounding of its position, and a
    // probe ending exactly on the face would lose the contact every other
    // frame (gravity and friction would then alternate while it rests).
    const Vector3 probe = from + box->planeNegY.normal * (r + eps);
    Vector3 normal(0, 0, 0);
    float t = 0.0f;

    // A resting ball keeps contact while the box is under it or it leans on
    // one of the box's side faces.
    if (e->grounded) {
        if (box->collideWithRay(from, probe, t, &normal)) {
            contact = true;
        } else if (box->collideWithFrontPlanes(sphere)) {
            contact = true;
        }
    }

    // A grounded ball ignores the top and bottom faces.
    if (!box->collideWithSphere(r, from, to, t, &normal, false, e->grounded, false)) {
        return false;
    }

    // Place the ball at the moment of contact and mirror both the velocity
    // and the rest of this frame's travel at the face.
    e->position = from + e->move * t;
    const Vector3 twiceNormal = normal * 2.0f;
    const Vector3 reflectedVelocity = e->velocity - twiceNormal * e->velocity.dot(normal);
    Vector3 reflectedMove = e->move - twiceNormal * e->move.dot(normal);
    reflectedMove = reflectedMove - reflectedMove * t;
    e->velocity = reflectedVelocity;
    e->move = reflectedMove;

    // Settle test: would the ball still touch the box at the end of its
    // remaining travel, probed eps back along it? With no travel left (a hit
    // at the very end of the move) there is no direction to probe, and the
    // bounce counts as free.
    bool stillTouching = false;
    if (e->move.length() > 0.0f) {
        from = e->position + e->move;
        Vector3 direction = e->move;
        direction.normalize();
        to = from - direction * eps;
        stillTouching = box->collideWithSphere(r, from, to, t, &normal, false, e->grounded, false);
    }
    if (stillTouching) {
        if (std::fabs(e->move.y) < eps) {
            e->velocity.y = 0.0f;
            e->move.y = 0.0f;
            e->grounded = true;
            contact = true;
        }
        return false;
    }
    e->velocity -= e->velocity * e->bounceLoss;
    return true;
}

void SgPhysController::applyMove(SgPhysEntity* e) {
    e->position += e->move;
    e->boundingSphere->center = e->position;
}
