#include "sg/SgEntity.h"

#include "physics/SgPhysEntity.h"
#include "sg/GLRenderer.h"

SgEntity::SgEntity(std::string name_)
    : name(std::move(name_)), type(SG_ENTITY), active(true), drawnThisFrame(false), parent(nullptr) {}

SgEntity::~SgEntity() = default;

void SgEntity::update(double dt) {
    if (!active) {
        return;
    }
    for (SgEntity* child : children) {
        child->update(dt);
    }
}

void SgEntity::render(GLRenderer* renderer) {
    if (!active) {
        return;
    }
    renderer->pushMatrix();
    for (SgEntity* child : children) {
        child->render(renderer);
    }
    renderer->popMatrix();
}

void SgEntity::collide() {
    if (!active) {
        return;
    }
    for (SgEntity* child : children) {
        child->collide();
    }
}

void SgEntity::collideWith(SgPhysEntity* entity, BoundingSphere* sphere, bool fromRoot) {
    if (!active) {
        return;
    }
    if (fromRoot && parent != nullptr) {
        parent->collideWith(entity, sphere, true);
        return;
    }
    for (SgEntity* child : children) {
        if (child != static_cast<SgEntity*>(entity)) {
            child->collideWith(entity, sphere, false);
        }
    }
}

void SgEntity::collideWithRay(const Vector3& from, const Vector3& to) {
    if (!active) {
        return;
    }
    for (SgEntity* child : children) {
        child->collideWithRay(from, to);
    }
}

void SgEntity::collideWithCameraRay(const Vector3& from, const Vector3& to, BoundingSphere* sphere) {
    if (!active) {
        return;
    }
    for (SgEntity* child : children) {
        child->collideWithCameraRay(from, to, sphere);
    }
}

void SgEntity::addChild(SgEntity* child) {
    if (child == nullptr) {
        return;
    }
    child->parent = this;
    children.push_back(child);
}

void SgEntity::deleteChild(std::string childName) {
    for (auto it = children.begin(); it != children.end(); ++it) {
        if ((*it)->name == childName) {
            children.erase(it);
            return;
        }
        (*it)->deleteChild(childName);
    }
}

SgEntity* SgEntity::findChild(std::string childName) {
    for (SgEntity* child : children) {
        if (child->name == childName) {
            return child;
        }
        if (SgEntity* found = child->findChild(childName)) {
            return found;
        }
    }
    return nullptr;
}

void SgEntity::deleteAndFreeAllChildrenOf(std::string nodeName) {
    deleteAndFreeAllChildrenOf(findChild(nodeName));
}

void SgEntity::deleteAndFreeAllChildrenOf(SgEntity* node) {
    if (node == nullptr) {
        return;
    }
    std::vector<SgEntity*> doomed;
    doomed.swap(node->children);
    for (SgEntity* child : doomed) {
        deleteAndFreeAllChildrenOf(child);
        delete child;
    }
}

std::string SgEntity::getName() const { return name; }

kelvoSgType SgEntity::getType() const { return type; }

SgEntity* SgEntity::getParent() const { return parent; }

void SgEntity::setActive(bool value) { active = value; }

bool SgEntity::isActive() const { return active; }

void SgEntity::free() { delete this; }

void SgEntity::endDraw(const GLRenderer* renderer) {
    drawnThisFrame = !renderer->transparentPass;
}
