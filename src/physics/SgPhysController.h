#pragma once

#include <string>

#include "sg/SgEntity.h"

class BoundingBox;
class SgPhysEntity;

// Moves the physical entities below it: integrates gravity and friction,
// bounces them off wall boxes and applies their moves. Its update and render
// are SgEntity's, so the entities' own update reaches updateVelocity.
class SgPhysController : public SgEntity {
public:
    explicit SgPhysController(std::string name);

    // Passes queries up towards the root and never down into its entities,
    // so a ball is tested neither against itself nor against its siblings.
    void collideWith(SgPhysEntity* entity, BoundingSphere* sphere, bool fromRoot) override;

    void updateVelocity(SgPhysEntity* entity, double dt);
    bool collideAndRespond(SgPhysEntity* entity, BoundingBox* box, bool& contact);
    void updatePosition(SgPhysEntity* entity);

    // The swept-sphere response shared by every controller; epsilon is both
    // the resting threshold of vertical travel and the settle probe length.
    // Returns true when the ball bounced and travels on (run another pass).
    static bool respond(SgPhysEntity* entity, BoundingBox* box, bool& contact, float epsilon);
    static void applyMove(SgPhysEntity* entity);

    float epsilon;
    float gravity;  // halved when applied: 10 units/s^2 downwards
};
