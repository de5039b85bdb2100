#pragma once

#include <string>
#include <vector>

#include "sg/SgEntity.h"

// A group of the labyrinth's whose children each draw within a box in the
// labyrinth's frame: the wall runs ("wallContainer", one blend node each) and
// the blocks of floor tiles ("labyrinthFloor"). With the renderer's culling
// on it draws only the children whose box meets the view volume, nearest
// first in the opaque pass (so hidden wall and floor pixels fail the depth
// test before they are shaded) and in child order in the transparent pass
// (the see-through walls blend as they always have). With culling off it is
// a plain group.
class CulledGroup : public SgEntity {
public:
    explicit CulledGroup(std::string name);

    // Appends the child together with the box it draws within.
    void addCulled(SgEntity* child, const Vector3& low, const Vector3& high);
    void render(GLRenderer* renderer) override;

    // Children drawn by the last render (for tests and measurements).
    size_t drawnLastFrame() const { return drawn; }

private:
    struct Extent {
        SgEntity* node;
        Vector3 low;
        Vector3 high;
    };
    std::vector<Extent> extents;  // in child order
    // Reused every frame: visible entries and their distances from the eye.
    std::vector<std::pair<float, const Extent*>> visible;
    size_t drawn;
};
