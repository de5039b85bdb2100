#pragma once

#include "sg/SgSpatialEntity.h"

// A smooth-shaded GLU sphere compiled into a display list when built (no
// texture coordinates). A leaf drawable: children are never rendered.
class SgSphereMesh : public SgSpatialEntity {
public:
    SgSphereMesh(std::string name, const Vector3& position, float radius, int slices, int stacks);
    ~SgSphereMesh() override;
    SgSphereMesh(const SgSphereMesh&) = delete;
    SgSphereMesh& operator=(const SgSphereMesh&) = delete;

    void render(GLRenderer* renderer) override;

    unsigned getDisplayList() const { return displayList; }

private:
    unsigned displayList;
};
