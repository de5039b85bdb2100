#pragma once

#include <string>
#include <vector>

#include "physics/BoundingBox.h"
#include "physics/BoundingSphere.h"
#include "sg/SgSpatialEntity.h"

// A ball that moves by an integrated velocity and is held out of wall boxes.
// It does none of that work itself: its parent is its controller (an
// SgPhysController or an SgParticleController, told apart by their type tags)
// and every physics step is forwarded there. An entity whose parent is no
// controller stays where it is.
class SgPhysEntity : public SgSpatialEntity {
public:
    SgPhysEntity(std::string name, const Vector3& position, float reserved, float radius);
    ~SgPhysEntity() override;
    SgPhysEntity(const SgPhysEntity&) = delete;
    SgPhysEntity& operator=(const SgPhysEntity&) = delete;

    // Velocity integration through the controller.
    void update(double dt) override;
    // Offers the scene a sphere covering the ball and this frame's travel.
    void collide() override;

    // Called by the maze for each nearby wall box: true when the ball bounced
    // and still has travel left (another pass over the boxes is needed);
    // contact is set when the ball rests on or leans against the box.
    bool collideAndRespondTo(BoundingBox* box, bool& contact);
    // Applies the planned move; called once all boxes are resolved.
    void updatePosition();

    struct WallResolution {
        int passes = 0;
        int contacts = 0;
    };
    // The maze's wall response for one query: passes over all boxes until a
    // pass brings no bounce (at most maxPasses, so a wedged ball cannot hang
    // a frame), counting contacts over all passes; clears `grounded` when no
    // box reported contact, then applies the move.
    WallResolution resolveAgainstWalls(const std::vector<BoundingBox*>& boxes, int maxPasses);
    // Changes the collision sphere only; the query radius stays sphereRadius.
    void resizeBoundingSphere(float r);

    float sphereRadius;
    Vector3 velocity;  // units per second
    Vector3 move;      // displacement planned for this frame
    float reserved;    // kept for callers, read by nothing
    float friction;    // horizontal damping rate while grounded, per second
    float bounceLoss;  // fraction of the velocity lost by a free bounce
    bool grounded;     // resting on a surface: no gravity, friction applies
};
