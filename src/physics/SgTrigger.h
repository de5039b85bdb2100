#pragma once

#include <string>

#include "physics/BoundingBox.h"
#include "sg/SgSpatialEntity.h"

// An invisible box region that calls a plain function whenever a physical
// entity of one node type overlaps it. The box is in world coordinates and
// does not follow the node's position. No state is kept between queries: it
// fires on every query in which the overlap holds.
class SgTrigger : public SgSpatialEntity {
public:
    SgTrigger(std::string name, const Vector3& position, const Vector3& minCorner, const Vector3& maxCorner,
              void (*callback)(), kelvoSgType triggerType);

    // Tests the entity's own bounding sphere, not the query sphere inflated
    // by its travel; the query goes neither up nor down from here.
    void collideWith(SgPhysEntity* entity, BoundingSphere* sphere, bool fromRoot) override;

    BoundingBox box;
    void (*callback)();
    kelvoSgType triggerType;  // node type of the entities that fire it
};
