// The labyrinth's answers to the collision and camera-ray queries; each looks
// only at the wall runs in the tile window around the asking sphere.
#include "labyrinth/SgLabyrinth.h"

#include "labyrinth/CulledGroup.h"
#include "physics/BoundingBox.h"
#include "physics/BoundingSphere.h"
#include "physics/SgPhysEntity.h"
#include "physics/SgTrigger.h"
#include "sg/SgBlendState.h"
#include "sg/SgTexture.h"

namespace {
// A ball wedged between boxes must not hang the frame: the response passes
// normally settle within two or three rounds.
const int maxResponsePasses = 64;
}  // namespace

std::vector<BoundingBox*> SgLabyrinth::getBoundingVolumesToBeCheckedWith(BoundingSphere* sphere) {
    std::vector<BoundingBox*> boxes{floorBox, startWallBox};
    for (WallContainer* container : grid.containersNear(sphere)) {
        boxes.push_back(container->box);
    }
    return boxes;
}

std::vector<SgTrigger*> SgLabyrinth::getTriggerToBeCheckedWith(BoundingSphere* sphere) {
    std::vector<SgTrigger*> triggers;
    for (WallContainer* container : grid.containersNear(sphere)) {
        triggers.push_back(container->trigger);
    }
    return triggers;
}

void SgLabyrinth::collideWith(SgPhysEntity* entity, BoundingSphere* sphere, bool fromRoot) {
    if (fromRoot) {
        if (parent != nullptr) {
            parent->collideWith(entity, sphere, true);
        }
        return;
    }
    for (SgTrigger* trigger : getTriggerToBeCheckedWith(sphere)) {
        trigger->collideWith(entity, sphere, false);
    }

    entity->resolveAgainstWalls(getBoundingVolumesToBeCheckedWith(sphere), maxResponsePasses);
    // On to the children hung below the maze by the game (physics and
    // particle controllers). The maze's own floor, wall and marker nodes
    // react to no query, and walking every wall mesh for every ball each
    // frame would cost more than the query itself.
    if (!active) {
        return;
    }
    for (SgEntity* child : children) {
        if (child == entity || isOwnNode(child)) {
            continue;
        }
        child->collideWith(entity, sphere, false);
    }
}

bool SgLabyrinth::isOwnNode(const SgEntity* node) const {
    if (node == wallTextureNode) {
        return true;
    }
    for (const SgEntity* own : ownNodes) {
        if (own == node) {
            return true;
        }
    }
    return false;
}

SgBlendState* SgLabyrinth::blendNodeOf(size_t index, int id) {
    const std::string name = blendNodeName(id);
    // Normally the group holds the blend nodes in container order; anything
    // else (a node unlinked or moved) falls back to the search by name.
    const auto& blends = wallGroup->getChildren();
    if (index < blends.size() && blends[index]->getName() == name) {
        return static_cast<SgBlendState*>(blends[index]);
    }
    return static_cast<SgBlendState*>(findChild(name));
}

void SgLabyrinth::switchSeeThrough(const std::vector<WallContainer*>& containers, const Vector3& start,
                                   const Vector3& end) {
    for (WallContainer* container : containers) {
        SgBlendState* blend = blendNodeOf(static_cast<size_t>(container->id - 1), container->id);
        if (blend == nullptr) {
            continue;
        }
        if (container->box->collideWithRay(start, end)) {
            blend->enable();
        } else {
            blend->disable();
        }
    }
}

void SgLabyrinth::collideWithCameraRay(const Vector3& start, const Vector3& end, BoundingSphere* sphere) {
    switchSeeThrough(grid.containersNear(sphere), start, end);
}

void SgLabyrinth::collideWithRay(const Vector3& start, const Vector3& end) {
    switchSeeThrough(grid.containersNear(nullptr), start, end);
}
