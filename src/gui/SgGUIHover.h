#pragma once

#include "sg/SgSpatialEntity.h"

// A camera-facing textured square in the 3-D scene that bobs up and down by
// one unit around its rest position with a period of 2*pi seconds (the goal
// marker above the maze exit).
class SgGUIHover : public SgSpatialEntity {
public:
    // size is half the edge length of the square.
    SgGUIHover(std::string name, const Vector3& position, float size, unsigned textureId, const Vector3& color);

    void update(double dt) override;
    void render(GLRenderer* renderer) override;

    float getPhase() const { return phase; }
    // The map renderer enlarges the marker while drawing the top-down map.
    float getSize() const { return size; }
    void setSize(float value) { size = value; }

private:
    unsigned textureId;
    Vector3 color;  // modulates the texture; w is the alpha
    Vector3 basePosition;
    float phase;  // radians
    float size;
};
