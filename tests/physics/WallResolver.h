#pragma once

// Resolves one physical entity against a list of wall boxes the way the maze
// does for every query: passes over all boxes until a pass has no bounce,
// contact counted over all passes, grounded cleared when nothing reported
// contact, then the move applied. Shared by the physics tests and benchmark.
#include <vector>

#include "physics/BoundingBox.h"
#include "physics/SgPhysEntity.h"

struct WallResolution {
    int passes = 0;
    int contacts = 0;
};

inline WallResolution resolveAgainstWalls(SgPhysEntity& entity, const std::vector<BoundingBox*>& boxes,
                                          int maxPasses = 1000) {
    WallResolution result;
    bool again = true;
    while (again && result.passes < maxPasses) {
        again = false;
        ++result.passes;
        for (BoundingBox* box : boxes) {
            bool contact = false;
            if (entity.collideAndRespondTo(box, contact)) {
                again = true;
            }
            if (contact) {
                ++result.contacts;
            }
        }
    }
    if (result.contacts == 0 && entity.grounded) {
        entity.grounded = false;
    }
    entity.updatePosition();
    return result;
}
