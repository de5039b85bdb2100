#include "labyrinth/CulledGroup.h"

#include <algorithm>

#include "sg/Frustum.h"
#include "sg/GLRenderer.h"

CulledGroup::CulledGroup(std::string name_) : SgEntity(std::move(name_)), drawn(0) {}

void CulledGroup::addCulled(SgEntity* child, const Vector3& low, const Vector3& high) {
    addChild(child);
    if (child != nullptr) {
        extents.push_back({child, low, high});
    }
}

void CulledGroup::render(GLRenderer* renderer) {
    // Children hung here other than through addCulled have no box to test, and
    // a group that is not drawn as a whole cannot be reordered safely.
    if (!active || !renderer->culling || extents.size() != children.size()) {
        drawn = active ? children.size() : 0;
        SgEntity::render(renderer);
        return;
    }
    const Frustum view = renderer->viewFrustum();
    visible.clear();
    for (const Extent& e : extents) {
        if (view.intersectsBox(e.low, e.high)) {
            visible.emplace_back(renderer->transparentPass ? 0.0f : view.sqrDistanceToBox(e.low, e.high), &e);
        }
    }
    if (!renderer->transparentPass) {
        // Stable: equally near runs keep their child order.
        std::stable_sort(visible.begin(), visible.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
    }
    renderer->pushMatrix();
    for (const auto& entry : visible) {
        entry.second->node->render(renderer);
    }
    renderer->popMatrix();
    drawn = visible.size();
}
