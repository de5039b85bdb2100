#pragma once

// The maze's wall response (SgPhysEntity::resolveAgainstWalls) with a pass
// limit far above anything a test reaches, for the physics tests and the
// benchmark, which have no maze.
#include <vector>

#include "physics/BoundingBox.h"
#include "physics/SgPhysEntity.h"

using WallResolution = SgPhysEntity::WallResolution;

inline WallResolution resolveAgainstWalls(SgPhysEntity& entity, const std::vector<BoundingBox*>& boxes,
                                          int maxPasses = 1000) {
    return entity.resolveAgainstWalls(boxes, maxPasses);
}
